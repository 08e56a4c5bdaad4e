#include "platform/propertybag.h"

#include <cmath>
#include <limits>

namespace Lumisong {

namespace {

const QLatin1String ColourKey("colour");
const QLatin1String FontKey("font");
const QLatin1String PictureKey("picture");

QJsonObject fontToJson(const FontDescription &font)
{
    QJsonObject object;
    object.insert(QLatin1String("face"), font.face);
    object.insert(QLatin1String("points"), font.points);
    object.insert(QLatin1String("bold"), font.bold);
    object.insert(QLatin1String("italic"), font.italic);
    object.insert(QLatin1String("underline"), font.underline);
    object.insert(QLatin1String("strikeout"), font.strikeout);
    object.insert(QLatin1String("charset"), font.charset);
    return object;
}

std::optional<FontDescription> fontFromJson(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    const QJsonValue face = object.value(QLatin1String("face"));
    const QJsonValue points = object.value(QLatin1String("points"));
    if (!face.isString() || !points.isDouble() || !(points.toDouble() > 0))
        return std::nullopt;
    FontDescription font;
    font.face = face.toString();
    font.points = points.toDouble();
    auto flag = [&](const char *key, bool &target) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return true;
        target = value.toBool();
        return value.isBool();
    };
    if (!flag("bold", font.bold) || !flag("italic", font.italic) ||
        !flag("underline", font.underline) || !flag("strikeout", font.strikeout))
        return std::nullopt;
    const QJsonValue charset = object.value(QLatin1String("charset"));
    if (!charset.isUndefined()) {
        if (!charset.isDouble() || charset.toDouble() != std::floor(charset.toDouble()) ||
            charset.toDouble() < 0 || charset.toDouble() > 255)
            return std::nullopt;
        font.charset = charset.toInt();
    }
    return font;
}

PropertyBag::Value decode(const QJsonValue &json, const QString &baseDirectory)
{
    const PropertyBag::Unreadable unreadable{json};
    switch (json.type()) {
    case QJsonValue::Bool:
        return json.toBool();
    case QJsonValue::String:
        return json.toString();
    case QJsonValue::Double: {
        const double number = json.toDouble();
        if (number != std::floor(number) || number < std::numeric_limits<qint32>::min() ||
            number > std::numeric_limits<qint32>::max())
            return unreadable;
        return qint32(number);
    }
    case QJsonValue::Object: {
        const QJsonObject object = json.toObject();
        if (object.size() != 1)
            return unreadable;
        const QString key = object.begin().key();
        const QJsonValue inner = object.begin().value();
        if (key == ColourKey && inner.isString()) {
            if (const auto colour = Colour::fromText(inner.toString()))
                return *colour;
        } else if (key == FontKey) {
            if (const auto font = fontFromJson(inner))
                return *font;
        } else if (key == PictureKey && inner.isString()) {
            const Picture picture = Picture::load(inner.toString(), baseDirectory);
            if (!picture.isNull())
                return picture;
        }
        return unreadable;
    }
    default:
        return unreadable;
    }
}

QJsonValue encode(const PropertyBag::Value &value)
{
    struct Encoder
    {
        QJsonValue operator()(const PropertyBag::Unreadable &v) const { return v.json; }
        QJsonValue operator()(qint32 v) const { return v; }
        QJsonValue operator()(bool v) const { return v; }
        QJsonValue operator()(const QString &v) const { return v; }
        QJsonValue operator()(Colour v) const { return QJsonObject{{ColourKey, v.toText()}}; }
        QJsonValue operator()(const FontDescription &v) const
        {
            return QJsonObject{{FontKey, fontToJson(v)}};
        }
        QJsonValue operator()(const Picture &v) const
        {
            return QJsonObject{{PictureKey, v.toText()}};
        }
    };
    return std::visit(Encoder{}, value);
}

} // namespace

qsizetype PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool PropertyBag::contains(const QString &name) const
{
    return indexOf(name) >= 0;
}

QStringList PropertyBag::names() const
{
    QStringList result;
    for (const Entry &entry : m_entries)
        result.append(entry.name);
    return result;
}

std::optional<PropertyBag::Value> PropertyBag::value(const QString &name) const
{
    const qsizetype index = indexOf(name);
    if (index < 0)
        return std::nullopt;
    return m_entries.at(index).value;
}

void PropertyBag::setValue(const QString &name, const Value &value)
{
    const qsizetype index = indexOf(name);
    if (index >= 0)
        m_entries[index].value = value;
    else
        m_entries.append({name, value});
}

void PropertyBag::write(const QString &name, const Value &value, const Value &defaultValue)
{
    // A value equal to its default is left out, and one stored earlier is dropped,
    // so a bag that is saved into again holds exactly what differs.
    if (value == defaultValue)
        remove(name);
    else
        setValue(name, value);
}

void PropertyBag::remove(const QString &name)
{
    const qsizetype index = indexOf(name);
    if (index >= 0)
        m_entries.removeAt(index);
}

template <typename T>
std::optional<T> PropertyBag::read(const QString &name, const T &defaultValue) const
{
    const qsizetype index = indexOf(name);
    if (index < 0)
        return defaultValue;
    const Value &held = m_entries.at(index).value;
    if (const T *value = std::get_if<T>(&held))
        return *value;
    if constexpr (std::is_same_v<T, Colour>) {
        if (const qint32 *number = std::get_if<qint32>(&held))
            return Colour(quint32(*number));
    }
    return std::nullopt;
}

template std::optional<qint32> PropertyBag::read(const QString &, const qint32 &) const;
template std::optional<bool> PropertyBag::read(const QString &, const bool &) const;
template std::optional<Colour> PropertyBag::read(const QString &, const Colour &) const;
template std::optional<QString> PropertyBag::read(const QString &, const QString &) const;
template std::optional<FontDescription> PropertyBag::read(const QString &,
                                                          const FontDescription &) const;
template std::optional<Picture> PropertyBag::read(const QString &, const Picture &) const;

QJsonObject PropertyBag::toJson() const
{
    QJsonObject object;
    for (const Entry &entry : m_entries)
        object.insert(entry.name, encode(entry.value));
    return object;
}

PropertyBag PropertyBag::fromJson(const QJsonObject &object, const QString &baseDirectory)
{
    PropertyBag bag;
    for (auto it = object.begin(); it != object.end(); ++it) {
        // Names differing only in case are one name: the first one found counts.
        if (!bag.contains(it.key()))
            bag.m_entries.append({it.key(), decode(it.value(), baseDirectory)});
    }
    return bag;
}

bool operator==(const PropertyBag &a, const PropertyBag &b)
{
    if (a.size() != b.size())
        return false;
    for (const PropertyBag::Entry &entry : a.m_entries) {
        const auto other = b.value(entry.name);
        if (!other || !(*other == entry.value))
            return false;
    }
    return true;
}

} // namespace Lumisong
