#include "forms/formdesign.h"

#include <algorithm>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace Lumisong {

namespace {

bool readTwips(const QJsonObject &o, QStringView key, int *out, QString *error)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) {
        *out = 0;
        return true;
    }
    if (!v.isDouble()) {
        *error = QStringLiteral("\"%1\" is not a number").arg(key);
        return false;
    }
    *out = v.toInt();
    return true;
}

// Pixels at 96 dpi (15 twips a pixel) of a width and height in twips; a
// negative side covers nothing.
qint64 pixelArea(int widthTwips, int heightTwips)
{
    constexpr qint64 TwipsPerPixel = 15;
    return (std::max(widthTwips, 0) / TwipsPerPixel) * (std::max(heightTwips, 0) / TwipsPerPixel);
}

} // namespace

std::optional<FormDesign> FormDesign::fromJson(const QByteArray &json, QString *error)
{
    if (json.size() > MaxBytes) {
        *error = QStringLiteral("a form file holds at most %1 bytes").arg(MaxBytes);
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = parseError.errorString() + QStringLiteral(" at offset ")
                 + QString::number(parseError.offset);
        return std::nullopt;
    }
    if (!doc.isObject()) {
        *error = QStringLiteral("a form file holds one JSON object");
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    FormDesign form;
    form.name = root.value(u"name").toString();
    form.caption = root.value(u"caption").toString();
    if (form.name.isEmpty()) {
        *error = QStringLiteral("the form has no name");
        return std::nullopt;
    }
    if (!readTwips(root, u"clientWidth", &form.clientWidth, error)
        || !readTwips(root, u"clientHeight", &form.clientHeight, error))
        return std::nullopt;

    qint64 pixels = 0;
    const QJsonArray controls = root.value(u"controls").toArray();
    for (const QJsonValue &value : controls) {
        const QJsonObject o = value.toObject();
        ControlDesign c;
        c.name = o.value(u"name").toString();
        c.type = o.value(u"type").toString();
        if (c.name.isEmpty() || c.type.isEmpty()) {
            *error = QStringLiteral("a control of form %1 lacks its name or type").arg(form.name);
            return std::nullopt;
        }
        if (form.control(c.name)) {
            *error = QStringLiteral("form %1 has two controls named %2").arg(form.name, c.name);
            return std::nullopt;
        }
        QString fieldError;
        if (!readTwips(o, u"left", &c.left, &fieldError) || !readTwips(o, u"top", &c.top, &fieldError)
            || !readTwips(o, u"width", &c.width, &fieldError)
            || !readTwips(o, u"height", &c.height, &fieldError)) {
            *error = c.name + QStringLiteral(": ") + fieldError;
            return std::nullopt;
        }
        if (c.type.startsWith(u"Lumisong."))
            pixels += pixelArea(c.width, c.height);
        if (pixels > MaxOwnControlPixels)
            break;
        c.properties = o.value(u"properties").toObject();
        form.controls.append(std::move(c));
    }
    if (pixels > MaxOwnControlPixels) {
        *error = QStringLiteral("the controls of form %1 cover more than %2 pixels")
                     .arg(form.name)
                     .arg(MaxOwnControlPixels);
        return std::nullopt;
    }
    return form;
}

std::optional<FormDesign> FormDesign::fromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    auto form = fromJson(file.readAll(), error);
    if (!form)
        *error = path + QStringLiteral(": ") + *error;
    return form;
}

const ControlDesign *FormDesign::control(const QString &name) const
{
    for (const ControlDesign &c : controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

} // namespace Lumisong
