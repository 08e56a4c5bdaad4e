#pragma once

#include <QProxyStyle>

class QStyleOptionViewItem;

namespace Lumisong {

// The song list's style: the application style with the check box of a row
// moved flush to the cell's left edge and the text right after it. The number
// column is only 40 pixels wide; with the usual item margins a row number of
// two digits would already be cut to an ellipsis. A number too wide for the
// room beside the box is drawn narrower, then smaller, so that it never runs
// into the next column nor shows cut to another number.
class ListViewStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListViewStyle)

public:
    // The least the text is condensed to (percent) and shrunk to (pixels).
    static constexpr int MinimumStretch = 60;
    static constexpr int MinimumPixelSize = 7;

    ListViewStyle();

    // Pixels the text of a cell with a check box may take, margins left out.
    int textRoom(const QStyleOptionViewItem &item, const QWidget *widget) const;
    // The font the cell's text is drawn in: the item's own when the text fits
    // its room, else condensed and then smaller until it does.
    QFont fittedFont(const QStyleOptionViewItem &item, const QWidget *widget) const;

    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};

} // namespace Lumisong
