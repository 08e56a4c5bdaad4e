#include "controls/button/buttontooltip.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

#include "controls/button/tooltipwindow.h"

namespace Lumisong {

ButtonToolTip::ButtonToolTip(QWidget *button, std::function<bool()> mayShow)
    : QObject(button), m_button(button), m_mayShow(std::move(mayShow))
{
    // The platform's initial delay is the double-click time; tips go after ten times that.
    const int delay = std::max(1, QApplication::doubleClickInterval());
    m_wakeTimer.setSingleShot(true);
    m_wakeTimer.setInterval(delay);
    m_autoPopTimer.setSingleShot(true);
    m_autoPopTimer.setInterval(10 * delay);
    connect(&m_wakeTimer, &QTimer::timeout, this, &ButtonToolTip::wake);
    connect(&m_autoPopTimer, &QTimer::timeout, this, [this] { sleep(true); });
    button->installEventFilter(this);
}

// The window is a child of the button and ends with it.
ButtonToolTip::~ButtonToolTip() = default;

void ButtonToolTip::build(const ToolTipContent &content)
{
    hide();
    m_content = content;
    if (!m_window)
        m_window = new ToolTipWindow(m_button);
    m_window->setContent(content);
    // The tip is built as the pointer turns the button hot: its rest starts now.
    m_pointer = QCursor::pos();
    if (!m_dormant)
        m_wakeTimer.start();
}

bool ButtonToolTip::isShowing() const
{
    return m_window && m_window->isVisible();
}

void ButtonToolTip::hide()
{
    m_wakeTimer.stop();
    m_autoPopTimer.stop();
    if (m_window)
        m_window->hide();
}

void ButtonToolTip::sleep(bool dormant)
{
    hide();
    m_dormant = dormant;
}

void ButtonToolTip::wake()
{
    if (!m_content || m_content->text.isEmpty() || !m_window || !m_button->isVisible() ||
        !m_button->underMouse() || (m_mayShow && !m_mayShow()))
        return;
    m_window->showAt(m_pointer);
    m_autoPopTimer.start();
}

bool ButtonToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_button)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        m_pointer = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (!m_dormant && !isShowing())
            m_wakeTimer.start();
        break;
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::Wheel:
        sleep(false);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        sleep(true);
        break;
    case QEvent::EnabledChange:
        if (!m_button->isEnabled())
            hide();
        break;
    default:
        break;
    }
    return false;
}

} // namespace Lumisong
