#pragma once

#include <QObject>

class QWidget;

namespace Lumisong {

// Focus cues are hidden while the user works with the mouse: a window shows
// them once the keyboard moves its focus (Tab, Shift+Tab, an access key) and
// hides them again at the next mouse click in it. The state of a window is
// its Qt::WA_KeyboardFocusChange attribute, which Qt sets itself on Tab and
// shortcut focus changes and which the application style reads for the
// focus frames it draws.
class KeyboardCues final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyboardCues)

public:
    // The one watcher; the first call makes it watch the application's mouse presses.
    static KeyboardCues &instance();
    static bool shown(const QWidget *widget);
    // The window of `widget` shows focus cues from now on.
    void show(QWidget *widget);

signals:
    // The cues of `window` were shown or hidden.
    void changed(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyboardCues();
    void setShown(QWidget *window, bool shown);
};

} // namespace Lumisong
