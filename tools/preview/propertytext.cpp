#include "tools/preview/propertytext.h"

#include "platform/colour.h"
#include "platform/fontdescription.h"
#include "platform/picture.h"

namespace Lumisong {

std::optional<qint32> PropertyText::parseInteger(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const quint32 value = trimmed.mid(2).toUInt(&ok, 16);
        return ok ? std::optional<qint32>(qint32(value)) : std::nullopt;
    }
    const qint32 value = trimmed.toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

std::optional<QVariant> PropertyText::parse(const QString &text, QMetaType type,
                                            const QString &baseDirectory, QString *error)
{
    if (type == QMetaType::fromType<int>()) {
        if (const auto value = parseInteger(text))
            return QVariant(*value);
        *error = QStringLiteral("expected an integer, got \"%1\"").arg(text);
        return std::nullopt;
    }
    if (type == QMetaType::fromType<bool>()) {
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QVariant(false);
        *error = QStringLiteral("expected true or false, got \"%1\"").arg(text);
        return std::nullopt;
    }
    if (type == QMetaType::fromType<QString>())
        return QVariant(text);
    if (type == QMetaType::fromType<Colour>()) {
        if (const auto colour = Colour::fromText(text))
            return QVariant::fromValue(*colour);
        *error = QStringLiteral("expected a colour (rgb(r, g, b), decimal or 0x hex), got \"%1\"")
                     .arg(text);
        return std::nullopt;
    }
    if (type == QMetaType::fromType<FontDescription>()) {
        if (const auto font = FontDescription::fromText(text))
            return QVariant::fromValue(*font);
        *error = QStringLiteral("expected a font as Face,points[,bold], got \"%1\"").arg(text);
        return std::nullopt;
    }
    if (type == QMetaType::fromType<Picture>()) {
        const Picture picture = Picture::load(text, baseDirectory);
        if (!text.isEmpty() && picture.isNull()) {
            *error = QStringLiteral("cannot read the picture \"%1\"").arg(text);
            return std::nullopt;
        }
        return QVariant::fromValue(picture);
    }
    *error = QStringLiteral("properties of type %1 cannot be set").arg(QString::fromLatin1(type.name()));
    return std::nullopt;
}

} // namespace Lumisong
