#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

#include "platform/colour.h"
#include "platform/fontdescription.h"
#include "platform/picture.h"

namespace Lumisong {

// The control host's property store: named, typed values saved with a form.
// Names compare without regard to letter case and keep the spelling they were
// first stored with. A value written together with its default is stored only
// when it differs from it; a name that is not held reads back as the default.
//
// JSON form (one object, a person can read and edit it):
//   integers  "Max": 100            booleans "Enabled": false
//   text      "Text": "process"
//   colours   "TextEffectColor": {"colour": "rgb(255, 255, 255)"}   (or "0x8000000F")
//   fonts     "TextFont": {"font": {"face": "宋体", "points": 9, "bold": false,
//               "italic": false, "underline": false, "strikeout": false, "charset": 134}}
//   pictures  "PictureNormal": {"picture": "skins/normal.png"}  (relative to the form file,
//               a ":/" resource, or "data:image/png;base64,...")
// plus the host's own "_extentx"/"_extenty": the control's extent in HIMETRIC
// (hundredths of a millimetre) as integers.
// An entry that cannot be decoded is kept as it stands (so saving loses nothing)
// and reads as failed for every type.
class PropertyBag
{
public:
    // An entry of a form file that decodes to no value of ours.
    struct Unreadable
    {
        QJsonValue json;
        friend bool operator==(const Unreadable &, const Unreadable &) = default;
    };
    using Value = std::variant<Unreadable, qint32, bool, Colour, QString, FontDescription, Picture>;

    static inline const QLatin1String ExtentX{"_extentx"};
    static inline const QLatin1String ExtentY{"_extenty"};

    bool isEmpty() const { return m_entries.isEmpty(); }
    qsizetype size() const { return m_entries.size(); }
    bool contains(const QString &name) const;
    // Names in the order they were first stored, spelled as then.
    QStringList names() const;
    std::optional<Value> value(const QString &name) const;

    // Stores unconditionally.
    void setValue(const QString &name, const Value &value);
    // Stores `value` when it differs from `defaultValue`; otherwise drops the name.
    void write(const QString &name, const Value &value, const Value &defaultValue);
    void remove(const QString &name);

    // The value of `name` as T: `defaultValue` when the name is not held, nothing
    // when the value held is of another type (a colour also reads an integer).
    // T is one of qint32, bool, Colour, QString, FontDescription, Picture.
    template <typename T>
    std::optional<T> read(const QString &name, const T &defaultValue) const;

    QJsonObject toJson() const;
    // `baseDirectory` resolves relative picture paths.
    static PropertyBag fromJson(const QJsonObject &object, const QString &baseDirectory = {});

    friend bool operator==(const PropertyBag &, const PropertyBag &);

private:
    struct Entry
    {
        QString name;
        Value value;
    };
    qsizetype indexOf(const QString &name) const;

    QList<Entry> m_entries;
};

bool operator==(const PropertyBag &a, const PropertyBag &b);

} // namespace Lumisong
