#include "controls/button/captiontext.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace Lumisong {

int CaptionText::flags()
{
    return Qt::TextWordWrap | Qt::TextShowMnemonic;
}

QSize CaptionText::measure(const QFont &font, const QString &caption, int wrapWidth, bool rightToLeft)
{
    if (caption.isEmpty())
        return {0, 0};
    Q_UNUSED(rightToLeft); // reading order does not change the extent
    const QFontMetrics metrics(font);
    // A generous height so that nothing is cut while measuring.
    const QRect bounds = metrics.boundingRect(QRect(0, 0, std::max(wrapWidth, 0), 1 << 20),
                                              Qt::AlignLeft | Qt::AlignTop | flags(), caption);
    return {bounds.width(), bounds.height()};
}

void CaptionText::draw(QPainter &painter, const QString &caption, const PixelRect &rect, Colour colour,
                       bool rightToLeft)
{
    if (caption.isEmpty() || rect.isEmpty())
        return;
    painter.setPen(QColor(colour.red(), colour.green(), colour.blue()));
    painter.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    painter.drawText(rect.toQRect(), Qt::AlignHCenter | Qt::AlignTop | flags(), caption);
}

} // namespace Lumisong
