#include "platform/ui/titledrag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace Lumisong {

namespace {

// The range of positions p (the element's left or top) for which at least
// `grip` of an element of length `length` lies within [low, high).
std::pair<int, int> gripRange(int low, int high, int length, int grip)
{
    return {low + grip - length, high - grip};
}

} // namespace

TitleDrag::Mover TitleDrag::platformMover()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? Mover::SystemFirst
                                                                                 : Mover::Own;
}

TitleDrag::TitleDrag(QWidget *window, QWidget *titleStrip, Mover mover)
    : QObject(window)
    , m_window(window)
    , m_titleStrip(titleStrip)
    , m_useSystemMove(mover == Mover::SystemFirst)
{
    addElement(titleStrip);
}

void TitleDrag::addElement(QWidget *element)
{
    if (!element || m_elements.contains(element))
        return;
    m_elements.append(element);
    element->installEventFilter(this);
}

bool TitleDrag::eventFilter(QObject *watched, QEvent *event)
{
    auto *element = qobject_cast<QWidget *>(watched);
    if (!element || !m_elements.contains(element))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a quick pair
        mouseDown(element, static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent *>(event));
        return m_dragActive != 0;
    case QEvent::MouseButtonRelease:
        mouseUp();
        return true;
    default:
        return false;
    }
}

void TitleDrag::mouseDown(QWidget *element, const QMouseEvent *event)
{
    if (m_useSystemMove) {
        QWindow *handle = m_window->windowHandle();
        if (handle && handle->startSystemMove())
            return; // the compositor follows the pointer until the button is released
    }
    m_pressed = element;
    m_dragActive = 1;
    m_dragStartX = event->position().x();
    m_dragStartY = event->position().y();
}

void TitleDrag::mouseMove(const QMouseEvent *event)
{
    if (m_dragActive != 1 || !m_pressed)
        return;
    // The pointer in the pressed element's own coordinates, wherever the move
    // was reported: a press on one element and moves over another is one drag.
    const QPointF x = QPointF(m_pressed->mapFromGlobal(event->globalPosition()));
    const double left = x.x() - m_dragStartX + m_window->x();
    const double top = x.y() - m_dragStartY + m_window->y();
    if (!std::isfinite(left) || !std::isfinite(top))
        return;
    m_window->move(reachable(QPoint(int(std::lround(left)), int(std::lround(top)))));
}

void TitleDrag::mouseUp()
{
    m_dragActive = 0;
    m_pressed = nullptr;
}

QPoint TitleDrag::reachable(const QPoint &proposed) const
{
    const QRect strip(proposed + m_titleStrip->pos(), m_titleStrip->size());
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (strip.isEmpty() || screens.isEmpty())
        return proposed;
    const int gripWidth = qMin(MinimumGripWidth, strip.width());
    const int gripHeight = qMin(MinimumGripHeight, strip.height());
    for (const QScreen *screen : screens) {
        const QRect shared = strip & screen->availableGeometry();
        if (shared.width() >= gripWidth && shared.height() >= gripHeight)
            return proposed;
    }
    // Held back on the screen the window is on, as near the pointer's wish as it gets.
    const QScreen *screen = m_window->screen() ? m_window->screen() : screens.constFirst();
    const QRect area = screen->availableGeometry();
    const auto [minX, maxX] =
        gripRange(area.x(), area.x() + area.width(), strip.width(), gripWidth);
    const auto [minY, maxY] =
        gripRange(area.y(), area.y() + area.height(), strip.height(), gripHeight);
    const QPoint offset = m_titleStrip->pos();
    return QPoint(qBound(minX, strip.x(), maxX), qBound(minY, strip.y(), maxY)) - offset;
}

} // namespace Lumisong
