#pragma once

namespace Lumisong {

// The run-time values a redraw reads: the visual state and the focus,
// default, activation and pointer flags.
struct ButtonRuntime
{
    int state = 0;              // ButtonState
    bool hasFocus = false;
    bool isDefault = false;
    bool parentActive = false;
    bool mouseOver = false;
    bool mouseDown = false;
    bool userMode = false;      // the host form is running, not being designed
    bool themed = true;         // the application style may draw style 13
    // The keyboard has moved the focus in this window since the last mouse
    // click: the focused button shows where the keys go.
    bool focusCues = false;

    friend bool operator==(const ButtonRuntime &, const ButtonRuntime &) = default;
};

} // namespace Lumisong
