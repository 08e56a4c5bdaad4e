#pragma once

#include <QProxyStyle>

namespace Lumisong {

// The song list's style: the application style with the check box of a row
// moved flush to the cell's left edge and the text right after it. The number
// column is only 40 pixels wide; with the usual item margins a row number of
// two digits would already be cut to an ellipsis.
class ListViewStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListViewStyle)

public:
    ListViewStyle();

    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};

} // namespace Lumisong
