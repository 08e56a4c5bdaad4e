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
    // The rectangle was measured to the text's advance, but Qt breaks a line
    // whose last glyph overhangs its advance by a fraction of a pixel ("全选(&A)"
    // in a Chinese locale, where ")" comes from another font): the rest went
    // to a second line outside the button. The lines are laid out with a
    // pixel of room on either side, which leaves centred lines exactly where
    // they were, and clipped to the rectangle as before.
    const QRect clip = rect.toQRect();
    const QRect room = clip.adjusted(-WrapRoom, 0, WrapRoom, 0);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.drawText(room, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip | flags(), caption);
    painter.restore();
}

} // namespace Lumisong
