#pragma once

#include <QPoint>
#include <QSize>

#include <memory>

#include "controls/button/buttonpopup.h"

namespace Lumisong {

struct ButtonProperties;
struct ButtonRuntime;

// An event the button raises to its host. Mouse buttons are 1 left, 2 right,
// 4 middle; shift states 1 Shift, 2 Ctrl, 4 Alt; x and y are client pixels;
// `code` is the key code (KeyDown, KeyUp) or the character (KeyPress).
struct ButtonEvent
{
    enum Kind {
        MouseDown,
        MouseUp,
        Click,
        DblClick,
        MouseEnter,
        MouseLeave,
        KeyDown,
        KeyUp,
        KeyPress
    };

    Kind kind = Click;
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
    int code = 0;
};

// The button's input state machine, apart from the widget and the painting:
// it takes the input notifications of the control window and turns them into
// ButtonState changes, flags and events, and asks its host for everything
// else (drawing, the Value property, the option group, the drop-down menu,
// the tooltip, the focus). Key codes are the platform's (13 Enter, 32 Space,
// 37..40 arrows, 65 A ...).
//
// Re-entrancy: events and the modal menu run host code, which may change the
// button or destroy it (and this machine with it). After each such call the
// machine goes on with the fields as they now are, or stops at once, touching
// nothing, when it has been destroyed.
//
// A disabled button (Enabled False) takes no mouse, key, access-key or focus
// notification; leave, focus loss and activation still arrive.
class ButtonInput
{
public:
    class Host
    {
    public:
        virtual void raiseEvent(const ButtonEvent &event) = 0;
        // Redraw: paints the button; a checked toggle comes back StateDown.
        virtual void redraw() = 0;
        // Assigns Value through the property (stores, redraws, notifies).
        virtual void writeValue(bool value) = 0;
        // Clears Value of the other option buttons of the same container.
        virtual void clearOptionGroup() = 0;
        virtual QSize clientSize() const = 0;
        // Shows the drop-down menu at `anchor` (client pixels) with `flags` and
        // returns when it has closed: true when the pointer is over the button then.
        virtual bool showDropDownMenu(QPoint anchor, int flags) = 0;
        virtual void buildToolTip() = 0;
        // Moves the focus to the next (forward) or previous control once the
        // key at hand has been handled.
        virtual void moveFocus(bool forward) = 0;
        // Paints the new look at once, before a handler that may take long
        // (a modal dialog) runs; runs no other event.
        virtual void paintNow() = 0;
        // Asks for a leave notification once the pointer leaves the button.
        virtual void requestLeave() = 0;
        // Whether a press gives the button the focus. A button that never takes
        // the focus (a window's title buttons) is not marked focused by a press.
        virtual bool takesFocusOnPress() const { return true; }

    protected:
        ~Host() = default;
    };

    ButtonInput(Host &host, ButtonProperties &properties, ButtonRuntime &runtime);
    ~ButtonInput();
    ButtonInput(const ButtonInput &) = delete;
    ButtonInput &operator=(const ButtonInput &) = delete;

    // Notifications. `over` says whether the window under the pointer is the button's.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(bool over);
    void mouseUp(int button, int shift, float x, float y);
    // The second press of a double click, which the platform reports instead of a press.
    void dblClick();
    void keyDown(int code, int shift);
    void keyPress(int ascii);
    void keyUp(int code, int shift);
    // The access key; 13 and 27 when the button acts as default or cancel button.
    void accessKey(int ascii);
    void gotFocus();
    void lostFocus();
    void formActivated();
    void formDeactivated();
    void mouseLeave();

    bool spaceDown() const { return m_spaceDown; }
    DropDownState &dropDown() { return m_dropDown; }
    const DropDownState &dropDown() const { return m_dropDown; }

private:
    // Each returns false when the button was destroyed meanwhile.
    [[nodiscard]] bool raise(const ButtonEvent &event);
    [[nodiscard]] bool setValue(bool value);
    [[nodiscard]] bool clearOptionGroup();
    [[nodiscard]] bool showDropDownMenu();
    // The check and option effect: a check button toggles Value, an option
    // button clears its group and sets Value; a push button has none.
    [[nodiscard]] bool toggle();
    // "Set the state": assigns and redraws only when it differs.
    void setState(int state);
    void assignState(int state);
    bool enabled() const;

    struct Press
    {
        int button = 0;
        int shift = 0;
        float x = 0;
        float y = 0;
    };

    Host &m_host;
    ButtonProperties &m_properties;
    ButtonRuntime &m_runtime;
    DropDownState m_dropDown;
    Press m_lastPress;
    bool m_spaceDown = false;
    // Held only by this machine; host code that destroys it leaves the weak copies expired.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace Lumisong
