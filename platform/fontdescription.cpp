#include "platform/fontdescription.h"

#include <QStringList>

namespace Lumisong {

FontDescription FontDescription::ambient()
{
    FontDescription font;
    font.face = QStringLiteral("宋体");
    font.points = 9.0;
    font.charset = GB2312Charset;
    return font;
}

QFont FontDescription::toQFont() const
{
    QFont font(face);
    if (points > 0)
        font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    return font;
}

std::optional<FontDescription> FontDescription::fromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    FontDescription font;
    font.face = parts.at(0).trimmed();
    bool ok = false;
    font.points = parts.at(1).trimmed().toDouble(&ok);
    if (font.face.isEmpty() || !ok || !(font.points > 0) || font.points > 1638)
        return std::nullopt;
    if (parts.size() == 3) {
        if (parts.at(2).trimmed().compare(QLatin1String("bold"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        font.bold = true;
    }
    return font;
}

} // namespace Lumisong
