#include "app/listviewstyle.h"

#include <QApplication>
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

void ListViewStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (element != CE_ItemViewItem || !hasCheckBox(option)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // A row number that is a pixel too wide is better clipped than replaced
    // by an ellipsis.
    QStyleOptionViewItem item = *qstyleoption_cast<const QStyleOptionViewItem *>(option);
    item.textElideMode = Qt::ElideNone;
    QProxyStyle::drawControl(element, &item, painter, widget);
}

} // namespace Lumisong
