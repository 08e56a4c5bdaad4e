#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

namespace Lumisong {

// Popup-menu flags the drop-down positions use (the platform's TPM_ values):
// the menu's right edge, or its bottom edge, at the anchor.
constexpr int MenuRightAlign = 0x08;
constexpr int MenuBottomAlign = 0x20;
// Further placement flags a caller may pass: centred on the anchor.
constexpr int MenuCentreAlign = 0x04;
constexpr int MenuVCentreAlign = 0x10;

// A drop-down menu attached to a button, as the input handling sees it.
// Align (0..7) chooses one of eight positions around the button; Flags are the
// caller's popup-menu flags, which some positions change in place for good.
struct DropDownState
{
    bool menuSet = false;     // a menu is attached
    bool menuLatch = false;   // the menu closed (or the pointer left) over the button
    bool menuOpening = false; // the menu is being shown
    int align = 0;
    int flags = 0;
};

// Where the menu opens: a point in the button's client pixels and the flags
// to show it with.
struct DropDownAnchor
{
    QPoint point;
    int flags = 0;

    friend bool operator==(const DropDownAnchor &, const DropDownAnchor &) = default;
};

// The anchor of position `align` on a button of `client` size, and the stored
// flags as that position leaves them: 1 and 6 replace them by bottom-align, 4
// by bottom- and right-align, 2 and 5 add right-align, 0, 3 and 7 keep them.
// Nothing for an align outside 0..7.
std::optional<DropDownAnchor> dropDownAnchor(int align, int flags, QSize client);

} // namespace Lumisong
