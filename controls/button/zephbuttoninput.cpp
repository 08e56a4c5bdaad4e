// The skinned button's input: Qt's events on the button and its form as the
// notifications of ButtonInput and the messages of Subclass_WndProc, and the
// host side of the input machine (events, Value, option groups, the drop-down
// menu, the tooltip, the focus).

#include "controls/button/zephbutton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QStyleHints>

#include "controls/button/buttonenums.h"
#include "controls/button/buttontooltip.h"
#include "controls/button/inputcodes.h"
#include "controls/button/menupopuppresenter.h"
#include "controls/button/tooltipwindow.h"
#include "platform/ui/keyboardcues.h"

namespace Lumisong {

namespace {

constexpr int SpaceKey = 32;
constexpr int AltShift = 4;

// Enter, Space and the arrows.
bool usesKey(int code)
{
    return code == 13 || code == SpaceKey || (code >= 37 && code <= 40);
}

} // namespace

// --- Qt events --------------------------------------------------------------------------

bool zephbutton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut: {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() != m_shortcutId || m_shortcutId == 0)
            break;
        // An access key shows the focus cues, as a focus move by Tab does.
        KeyboardCues::instance().show(this);
        m_input.accessKey(int(m_accessKey.unicode()));
        return true;
    }
    case QEvent::ToolTip:
        // The button shows its own tooltip, never the container's.
        return true;
    default:
        break;
    }
    return QWidget::event(event);
}

bool zephbutton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedWindow && m_runMode) {
        if (event->type() == QEvent::WindowActivate)
            sendMessage(MessageActivate, 1);
        else if (event->type() == QEvent::WindowDeactivate)
            sendMessage(MessageActivate, 0);
    }
    return QWidget::eventFilter(watched, event);
}

void zephbutton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange: {
        // QWidget::setEnabled called on the button itself (not through Enabled)
        // is an assignment of Enabled too.
        const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
        if (enabled != m_p.enabled) {
            m_p.enabled = enabled;
            store(ButtonProperty::Enabled);
        }
        break;
    }
    case QEvent::PaletteChange:
        ++m_lookGeneration;
        if (m_runMode && m_routeSysColour)
            sendMessage(MessageSysColourChange);
        break;
    case QEvent::StyleChange:
        ++m_lookGeneration;
        if (m_runMode)
            sendMessage(MessageThemeChanged);
        break;
    case QEvent::ParentChange:
        if (m_runMode)
            watchWindow();
        break;
    default:
        break;
    }
}

bool zephbutton::pointerOver(QPointF position) const
{
    const QPoint point = position.toPoint();
    if (!rect().contains(point))
        return false;
    const QRegion shape = mask();
    return shape.isEmpty() || shape.contains(point);
}

// The platform reports the second press of a double click as a double click
// instead of a press; Qt sends both, so the press is told here by the same
// rule Qt uses and Qt's double-click event that follows it is dropped.
bool zephbutton::isSecondPress(const QMouseEvent &event)
{
    const QPointF position = event.globalPosition();
    const quint64 time = event.timestamp();
    const QPointF moved = position - m_pressPosition;
    const bool second =
        !m_pressWasSecond && m_pressButton == event.button() && m_pressTime != 0 &&
        time - m_pressTime < quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
        moved.manhattanLength() <= QGuiApplication::styleHints()->mouseDoubleClickDistance();
    m_pressTime = time;
    m_pressPosition = position;
    m_pressButton = event.button();
    m_pressWasSecond = second;
    m_dropDoubleClick = second;
    return second;
}

void zephbutton::mousePressEvent(QMouseEvent *event)
{
    if (isSecondPress(*event)) {
        m_input.dblClick();
        return;
    }
    m_input.mouseDown(InputCodes::mouseButton(event->button()),
                      InputCodes::shiftState(event->modifiers()), float(event->position().x()),
                      float(event->position().y()));
}

void zephbutton::mouseDoubleClickEvent(QMouseEvent *)
{
    if (m_dropDoubleClick) {
        m_dropDoubleClick = false;
        return;
    }
    // A double click that arrives without its press (as test tools send it).
    m_pressWasSecond = true;
    m_input.dblClick();
}

void zephbutton::mouseMoveEvent(QMouseEvent *event)
{
    m_input.mouseMove(pointerOver(event->position()));
}

void zephbutton::mouseReleaseEvent(QMouseEvent *event)
{
    m_input.mouseUp(InputCodes::mouseButton(event->button()),
                    InputCodes::shiftState(event->modifiers()), float(event->position().x()),
                    float(event->position().y()));
}

void zephbutton::keyPressEvent(QKeyEvent *event)
{
    const int code = InputCodes::keyCode(*event);
    const int shift = InputCodes::shiftState(event->modifiers());
    const int typed = InputCodes::typedCharacter(*event);
    if (code == SpaceKey && shift == AltShift) {
        event->ignore(); // the window's own menu key
        return;
    }
    // Keys the button does not use go on to its form as well (Esc to a dialog).
    event->setAccepted(usesKey(code));
    const QPointer<zephbutton> self(this);
    m_input.keyDown(code, shift);
    if (self && typed != 0)
        m_input.keyPress(typed);
}

void zephbutton::keyReleaseEvent(QKeyEvent *event)
{
    // The platform sends no release between the repeats of a held key.
    if (event->isAutoRepeat())
        return;
    const int code = InputCodes::keyCode(*event);
    event->setAccepted(usesKey(code));
    m_input.keyUp(code, InputCodes::shiftState(event->modifiers()));
}

void zephbutton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // The drop-down menu takes the focus while it is open; the button keeps it.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason)
        KeyboardCues::instance().show(this);
    m_input.gotFocus();
    // Focus alone changes no look; only the keyboard cue follows it at once.
    if (KeyboardCues::shown(this))
        redraw();
}

void zephbutton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_input.lostFocus();
    if (m_paintedRuntime.focusCues && m_paintedRuntime.hasFocus)
        redraw();
}

void zephbutton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_runMode)
        sendMessage(MessageMouseLeave);
}

// --- host of the input machine ------------------------------------------------------------

void zephbutton::raiseEvent(const ButtonEvent &event)
{
    const auto button = qint16(event.button);
    auto shift = qint16(event.shift);
    auto code = qint16(event.code);
    switch (event.kind) {
    case ButtonEvent::MouseDown:
        emit MouseDown(button, shift, event.x, event.y);
        break;
    case ButtonEvent::MouseUp:
        emit MouseUp(button, shift, event.x, event.y);
        break;
    case ButtonEvent::Click:
        emit Click();
        break;
    case ButtonEvent::DblClick:
        emit DblClick();
        break;
    case ButtonEvent::MouseEnter:
        emit MouseEnter();
        break;
    case ButtonEvent::MouseLeave:
        emit MouseLeave();
        break;
    case ButtonEvent::KeyDown:
        emit KeyDown(code, shift);
        break;
    case ButtonEvent::KeyUp:
        emit KeyUp(code, shift);
        break;
    case ButtonEvent::KeyPress:
        emit KeyPress(code);
        break;
    }
}

void zephbutton::writeValue(bool value)
{
    setValue(value);
}

void zephbutton::clearOptionGroup()
{
    // The group is the option buttons of the same container.
    QWidget *container = parentWidget();
    if (!container)
        return;
    QList<QPointer<zephbutton>> siblings;
    for (zephbutton *sibling : container->findChildren<zephbutton *>(Qt::FindDirectChildrenOnly))
        siblings.append(sibling);
    for (const QPointer<zephbutton> &sibling : std::as_const(siblings)) {
        // A sibling's handler may end buttons of the group.
        if (sibling && sibling.data() != this && sibling->mode() == ModeOption)
            sibling->setValue(false);
    }
}

QSize zephbutton::clientSize() const
{
    return size();
}

bool zephbutton::showDropDownMenu(QPoint anchor, int flags)
{
    PopupPresenter *presenter =
        m_popupPresenter ? m_popupPresenter : &MenuPopupPresenter::instance();
    return presenter->present({m_menu, this, anchor, flags, m_menuDefault});
}

bool zephbutton::toolTipMayShow() const
{
    return m_p.enabled && !m_input.dropDown().menuLatch && !m_runtime.mouseDown &&
           !m_input.spaceDown();
}

void zephbutton::buildToolTip()
{
    if (!m_p.enabled || m_input.dropDown().menuLatch || m_runtime.state == StateDown)
        return;
    const ToolTipContent content = ToolTipContent::from(m_p, m_tooltipRightToLeft);
    if (!m_toolTip)
        m_toolTip = new ButtonToolTip(this, [this] { return toolTipMayShow(); });
    m_toolTip->build(content);
    emit toolTipBuilt(content);
}

void zephbutton::moveFocus(bool forward)
{
    const QPointer<zephbutton> self(this);
    emit focusMoveRequested(forward);
    if (!self)
        return;
    // As the keystrokes the platform queues: the focus moves once this key is handled.
    QMetaObject::invokeMethod(
        this, [this, forward] { focusNextPrevChild(forward); }, Qt::QueuedConnection);
}

bool zephbutton::takesFocusOnPress() const
{
    return (focusPolicy() & Qt::ClickFocus) != 0;
}

void zephbutton::paintNow()
{
    repaint();
}

} // namespace Lumisong
