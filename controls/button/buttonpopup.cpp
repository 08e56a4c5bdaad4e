#include "controls/button/buttonpopup.h"

namespace Lumisong {

std::optional<DropDownAnchor> dropDownAnchor(int align, int flags, QSize client)
{
    const int W = client.width();
    const int H = client.height();
    switch (align) {
    case 0:
        return DropDownAnchor{{0, H}, flags};
    case 1:
        return DropDownAnchor{{0, 0}, MenuBottomAlign};
    case 2:
        return DropDownAnchor{{0, 0}, flags | MenuRightAlign};
    case 3:
        return DropDownAnchor{{W, 0}, flags};
    case 4:
        return DropDownAnchor{{0, 0}, MenuBottomAlign | MenuRightAlign};
    case 5:
        return DropDownAnchor{{0, H}, flags | MenuRightAlign};
    case 6:
        return DropDownAnchor{{W, 0}, MenuBottomAlign};
    case 7:
        return DropDownAnchor{{W, H}, flags};
    default:
        return std::nullopt;
    }
}

} // namespace Lumisong
