#include "forms/listviewstyle.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyleOptionViewItem>

namespace Lumisong {

namespace {
constexpr int LeftMargin = 1; // pixels before the check box

bool hasCheckBox(const QStyleOption *option)
{
    const auto *item = qstyleoption_cast<const QStyleOptionViewItem *>(option);
    return item && (item->features & QStyleOptionViewItem::HasCheckIndicator)
        && item->direction != Qt::RightToLeft;
}
} // namespace

// The base is the application's style by name, so the proxy never takes
// ownership of the application's own style object.
ListViewStyle::ListViewStyle() : QProxyStyle(QApplication::style()->name()) {}

QRect ListViewStyle::subElementRect(SubElement element, const QStyleOption *option,
                                    const QWidget *widget) const
{
    if (!hasCheckBox(option)
        || (element != SE_ItemViewItemCheckIndicator && element != SE_ItemViewItemText))
        return QProxyStyle::subElementRect(element, option, widget);

    const QRect base = QProxyStyle::subElementRect(SE_ItemViewItemCheckIndicator, option, widget);
    const QRect cell = option->rect;
    const QRect check(cell.x() + LeftMargin, base.y(), base.width(), base.height());
    if (element == SE_ItemViewItemCheckIndicator)
        return check;
    // The style pads the text rectangle by its focus-frame margin; start it
    // inside the check box by that much so the number follows the box closely.
    const int margin = pixelMetric(PM_FocusFrameHMargin, option, widget) + 1;
    const int textLeft = check.x() + check.width() - margin + 1;
    return QRect(textLeft, cell.y(), qMax(0, cell.x() + cell.width() - textLeft), cell.height());
}

int ListViewStyle::textRoom(const QStyleOptionViewItem &item, const QWidget *widget) const
{
    const QRect text = subElementRect(SE_ItemViewItemText, &item, widget);
    const int margin = pixelMetric(PM_FocusFrameHMargin, &item, widget) + 1;
    return text.width() - 2 * margin;
}

QFont ListViewStyle::fittedFont(const QStyleOptionViewItem &item, const QWidget *widget) const
{
    QFont font = item.font;
    const int room = textRoom(item, widget);
    const auto width = [&item](const QFont &f) {
        return QFontMetrics(f).horizontalAdvance(item.text);
    };
    const int natural = width(font);
    if (natural <= room || natural <= 0)
        return font;
    // Narrower digits keep their height and read best; only then smaller ones.
    font.setStretch(qMax(MinimumStretch, room * 100 / natural));
    for (int pixels = QFontInfo(font).pixelSize(); width(font) > room && pixels > MinimumPixelSize;)
        font.setPixelSize(--pixels);
    return font;
}

void ListViewStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (element != CE_ItemViewItem || !hasCheckBox(option)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    QStyleOptionViewItem item = *qstyleoption_cast<const QStyleOptionViewItem *>(option);
    item.font = fittedFont(item, widget);
    // Should even the smallest font not do, an ellipsis says so; a number
    // clipped to fewer digits would read as another number.
    const bool fits = QFontMetrics(item.font).horizontalAdvance(item.text) <= textRoom(item, widget);
    item.textElideMode = fits ? Qt::ElideNone : Qt::ElideRight;
    QProxyStyle::drawControl(element, &item, painter, widget);
}

} // namespace Lumisong
