#include "platform/colour.h"

#include <QRegularExpression>

#include "platform/systemcolours.h"

namespace Lumisong {

Colour Colour::resolved() const
{
    if ((m_value & 0xFF000000u) == 0)
        return *this;
    if (!isSystem())
        return Colour(Invalid);
    return SystemColours::lookup(systemIndex()).value_or(Colour(Invalid));
}

QString Colour::toText() const
{
    if ((m_value & 0xFF000000u) == 0)
        return QStringLiteral("rgb(%1, %2, %3)").arg(red()).arg(green()).arg(blue());
    return QLatin1String("0x") + QString::number(m_value, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

std::optional<Colour> Colour::fromText(const QString &text)
{
    static const QRegularExpression rgbPattern(
        QStringLiteral("^\\s*rgb\\s*\\(\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*\\)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = rgbPattern.match(text);
    if (match.hasMatch()) {
        const int r = match.captured(1).toInt();
        const int g = match.captured(2).toInt();
        const int b = match.captured(3).toInt();
        if (r > 255 || g > 255 || b > 255)
            return std::nullopt;
        return rgb(r, g, b);
    }
    const QString trimmed = text.trimmed();
    bool ok = false;
    quint32 value = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        if (trimmed.size() > 2)
            value = trimmed.mid(2).toUInt(&ok, 16);
    } else {
        // Decimal: negative values are the signed view of the same 32 bits (-1 is Invalid).
        const qint64 wide = trimmed.toLongLong(&ok, 10);
        ok = ok && wide >= -2147483648LL && wide <= 4294967295LL;
        value = quint32(wide);
    }
    if (!ok)
        return std::nullopt;
    return Colour(value);
}

} // namespace Lumisong
