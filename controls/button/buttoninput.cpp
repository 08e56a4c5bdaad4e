#include "controls/button/buttoninput.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonruntime.h"
#include "controls/button/buttonproperties.h"

namespace Lumisong {

namespace {

constexpr int LeftButton = 1;
constexpr int AltShift = 4;
constexpr int KeyEnter = 13;
constexpr int KeyEscape = 27;
constexpr int KeySpace = 32;
constexpr int KeyLeft = 37;
constexpr int KeyUp = 38;
constexpr int KeyRight = 39;
constexpr int KeyDown = 40;

} // namespace

ButtonInput::ButtonInput(Host &host, ButtonProperties &properties, ButtonRuntime &runtime)
    : m_host(host), m_properties(properties), m_runtime(runtime)
{
}

ButtonInput::~ButtonInput() = default;

bool ButtonInput::enabled() const
{
    return m_properties.enabled;
}

bool ButtonInput::raise(const ButtonEvent &event)
{
    const std::weak_ptr<int> alive = m_life;
    m_host.raiseEvent(event);
    return !alive.expired();
}

bool ButtonInput::setValue(bool value)
{
    const std::weak_ptr<int> alive = m_life;
    m_host.writeValue(value);
    return !alive.expired();
}

bool ButtonInput::clearOptionGroup()
{
    const std::weak_ptr<int> alive = m_life;
    m_host.clearOptionGroup();
    return !alive.expired();
}

bool ButtonInput::toggle()
{
    if (m_properties.mode == ModeCheck)
        return setValue(!m_properties.value);
    if (m_properties.mode == ModeOption)
        return clearOptionGroup() && setValue(true);
    return true;
}

void ButtonInput::assignState(int state)
{
    m_runtime.state = state;
    m_host.redraw();
}

void ButtonInput::setState(int state)
{
    if (m_runtime.state != state)
        assignState(state);
}

// --- mouse ----------------------------------------------------------------------

void ButtonInput::mouseDown(int button, int shift, float x, float y)
{
    if (!enabled())
        return;
    m_lastPress = {button, shift, x, y};
    // Other buttons only end a latched menu, at their release.
    if (button != LeftButton && !m_dropDown.menuLatch)
        return;
    if (m_host.takesFocusOnPress())
        m_runtime.hasFocus = true;
    m_runtime.mouseDown = true;
    if (!m_spaceDown)
        setState(StateDown);
    if (!m_dropDown.menuSet)
        (void)raise({ButtonEvent::MouseDown, button, shift, x, y});
    else if (!m_dropDown.menuLatch)
        (void)showDropDownMenu();
}

void ButtonInput::mouseMove(bool over)
{
    if (!enabled())
        return;
    if (over) {
        m_runtime.mouseOver = true;
        m_host.requestLeave();
        // On every move over the button, not only on entry.
        if (!raise({ButtonEvent::MouseEnter}))
            return;
    } else {
        m_runtime.mouseOver = false;
    }
    // A held Space freezes the look.
    if (m_spaceDown)
        return;
    if (!m_runtime.mouseOver) {
        setState(StateNormal);
    } else if (m_runtime.mouseDown) {
        setState(StateDown);
    } else if (m_runtime.state != StateHot) {
        assignState(StateHot);
        // A checked toggle comes back pressed from the redraw and gets no tooltip.
        if (m_runtime.state != StateDown)
            m_host.buildToolTip();
    }
}

void ButtonInput::mouseUp(int button, int shift, float x, float y)
{
    if (!enabled())
        return;
    if (m_dropDown.menuSet) {
        m_runtime.mouseDown = false;
        m_dropDown.menuLatch = false;
        assignState(StateNormal);
        return;
    }
    if (button == LeftButton) {
        m_runtime.mouseDown = false;
        const QSize client = m_host.clientSize();
        // Strictly inside: the leftmost column and the top row are outside.
        if (x > 0 && x < client.width() && y > 0 && y < client.height()) {
            if (!toggle())
                return;
            assignState(StateNormal);
            if (!raise({ButtonEvent::Click}))
                return;
        }
    }
    (void)raise({ButtonEvent::MouseUp, button, shift, x, y});
}

void ButtonInput::dblClick()
{
    if (!enabled() || m_lastPress.button != LeftButton)
        return;
    setState(StateDown);
    m_host.redraw();
    const std::weak_ptr<int> alive = m_life;
    const Press press = m_lastPress;
    mouseDown(press.button, press.shift, press.x, press.y);
    if (alive.expired())
        return;
    if (!m_dropDown.menuSet)
        (void)raise({ButtonEvent::DblClick});
    else if (!m_dropDown.menuLatch)
        (void)showDropDownMenu();
}

void ButtonInput::mouseLeave()
{
    m_runtime.mouseOver = false;
    if (m_dropDown.menuSet) {
        if (m_dropDown.menuOpening) {
            // The leave that the opening menu causes is absorbed.
            m_dropDown.menuOpening = false;
            m_dropDown.menuLatch = true;
            return;
        }
        m_dropDown.menuLatch = false;
    }
    if (m_spaceDown)
        return;
    setState(StateNormal);
    (void)raise({ButtonEvent::MouseLeave});
}

// --- drop-down menu ----------------------------------------------------------------

bool ButtonInput::showDropDownMenu()
{
    const QSize client = m_host.clientSize();
    m_dropDown.menuOpening = true;
    const std::optional<DropDownAnchor> anchor =
        dropDownAnchor(m_dropDown.align, m_dropDown.flags, client);
    if (!anchor) {
        m_dropDown.menuOpening = false;
        return true;
    }
    // The position's flags are stored: they last for every later opening.
    m_dropDown.flags = anchor->flags;
    const std::weak_ptr<int> alive = m_life;
    const bool over = m_host.showDropDownMenu(anchor->point, anchor->flags);
    if (alive.expired())
        return false;
    if (over) {
        // The pressed look stays until the next release.
        m_dropDown.menuLatch = true;
        return true;
    }
    m_runtime.mouseDown = false;
    m_runtime.mouseOver = false;
    m_spaceDown = false;
    m_runtime.state = StateNormal;
    m_dropDown.menuLatch = false;
    m_dropDown.menuOpening = false;
    m_host.redraw();
    return true;
}

// --- keyboard -------------------------------------------------------------------------

void ButtonInput::keyDown(int code, int shift)
{
    if (!enabled())
        return;
    switch (code) {
    case KeyEnter:
        if (!raise({ButtonEvent::Click}))
            return;
        break;
    case KeySpace:
        if (shift == AltShift)
            return; // Alt+Space belongs to the window menu: no KeyDown either
        if (m_runtime.mouseDown) {
            setState(m_runtime.mouseOver ? StateDown : StateNormal);
            break;
        }
        m_spaceDown = true;
        // Also on every automatic repeat of the key.
        if (!toggle())
            return;
        setState(StateDown);
        break;
    case KeyLeft:
    case KeyUp:
    case KeyRight:
    case KeyDown: {
        const std::weak_ptr<int> alive = m_life;
        m_host.moveFocus(code == KeyRight || code == KeyDown);
        if (alive.expired())
            return;
        break;
    }
    default:
        // Any other key cancels a held Space.
        if (m_spaceDown) {
            m_spaceDown = false;
            assignState(StateNormal);
        }
        break;
    }
    (void)raise({ButtonEvent::KeyDown, 0, shift, 0, 0, code});
}

void ButtonInput::keyPress(int ascii)
{
    if (!enabled())
        return;
    (void)raise({ButtonEvent::KeyPress, 0, 0, 0, 0, ascii});
}

void ButtonInput::keyUp(int code, int shift)
{
    if (!enabled() || code != KeySpace)
        return;
    if (m_runtime.mouseOver && m_runtime.mouseDown) {
        setState(StateDown);
    } else {
        setState(m_runtime.mouseOver ? StateHot : StateNormal);
        // The pointer need not be over the button.
        if (!m_runtime.mouseDown && m_spaceDown && !raise({ButtonEvent::Click}))
            return;
    }
    if (!raise({ButtonEvent::KeyUp, 0, shift, 0, 0, code}))
        return;
    m_spaceDown = false;
    m_runtime.mouseDown = false;
}

void ButtonInput::accessKey(int ascii)
{
    if (!enabled())
        return;
    if (m_spaceDown) {
        m_spaceDown = false;
        m_runtime.mouseDown = false;
    }
    // As default or cancel button (Enter, Esc) a toggle neither changes nor clicks.
    if (m_properties.mode == ModeCheck || m_properties.mode == ModeOption) {
        if (ascii == KeyEnter || ascii == KeyEscape)
            return;
        if (!toggle())
            return;
        if (m_properties.mode == ModeCheck && !m_properties.value)
            m_runtime.state = StateNormal;
        m_host.redraw();
    }
    // The user sees the new look before the click's handler runs.
    m_host.paintNow();
    (void)raise({ButtonEvent::Click});
}

// --- focus and the form --------------------------------------------------------------

void ButtonInput::gotFocus()
{
    if (!enabled())
        return;
    m_runtime.hasFocus = true;
}

void ButtonInput::lostFocus()
{
    m_runtime.hasFocus = false;
    m_runtime.mouseDown = false;
    m_spaceDown = false;
    assignState(m_runtime.parentActive && m_runtime.mouseOver ? StateHot : StateNormal);
}

void ButtonInput::formActivated()
{
    m_runtime.parentActive = true;
    m_runtime.state = StateNormal;
    if (m_runtime.isDefault)
        m_host.redraw();
    m_host.redraw();
}

void ButtonInput::formDeactivated()
{
    m_runtime.mouseDown = false;
    m_spaceDown = false;
    m_runtime.hasFocus = false;
    m_runtime.parentActive = false;
    assignState(StateNormal);
}

} // namespace Lumisong
