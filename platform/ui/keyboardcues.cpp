#include "platform/ui/keyboardcues.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace Lumisong {

KeyboardCues::KeyboardCues()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyboardCues &KeyboardCues::instance()
{
    static KeyboardCues *cues = new KeyboardCues; // lives as long as the application's filters
    return *cues;
}

bool KeyboardCues::shown(const QWidget *widget)
{
    const QWidget *window = widget ? widget->window() : nullptr;
    return window && window->testAttribute(Qt::WA_KeyboardFocusChange);
}

void KeyboardCues::show(QWidget *widget)
{
    if (widget)
        setShown(widget->window(), true);
}

void KeyboardCues::setShown(QWidget *window, bool shown)
{
    if (window->testAttribute(Qt::WA_KeyboardFocusChange) == shown)
        return;
    window->setAttribute(Qt::WA_KeyboardFocusChange, shown);
    // The style's own focus frames are drawn afresh; controls that keep
    // their own picture redraw it on changed().
    window->update();
    emit changed(window);
}

bool KeyboardCues::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        && watched->isWidgetType()) {
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (window->testAttribute(Qt::WA_KeyboardFocusChange))
            setShown(window, false);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Lumisong
