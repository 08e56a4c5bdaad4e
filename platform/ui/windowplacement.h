#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Lumisong {

// Where a borderless window opens. Its title strip is along its top edge and
// is the only handle it can be dragged by, so the window is kept inside the
// available area where it fits and, where it does not, its top-left corner
// (and with it the start of the title strip) is kept on the area.
class WindowPlacement
{
public:
    // The top-left corner nearest `wanted` that obeys the rule above in `available`.
    static QPoint within(const QRect &available, QSize window, QPoint wanted);
    // Centred on `available` where it fits, else as within() places it.
    static QPoint centred(const QRect &available, QSize window);
};

} // namespace Lumisong
