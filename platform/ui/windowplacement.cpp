#include "platform/ui/windowplacement.h"

#include <algorithm>

namespace Lumisong {

namespace {

// One axis: inside [low, low + span) where the length fits, else at low.
int placeOnAxis(int low, int span, int length, int wanted)
{
    const int highest = std::max(low, low + span - length);
    return std::clamp(wanted, low, highest);
}

} // namespace

QPoint WindowPlacement::within(const QRect &available, QSize window, QPoint wanted)
{
    if (available.isEmpty())
        return wanted;
    return {placeOnAxis(available.x(), available.width(), window.width(), wanted.x()),
            placeOnAxis(available.y(), available.height(), window.height(), wanted.y())};
}

QPoint WindowPlacement::centred(const QRect &available, QSize window)
{
    const QPoint wanted(available.x() + (available.width() - window.width()) / 2,
                        available.y() + (available.height() - window.height()) / 2);
    return within(available, window, wanted);
}

} // namespace Lumisong
