#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

#include "controls/button/tooltipcontent.h"
#include "controls/button/tooltipwindow.h"

class QWidget;

namespace Lumisong {

// The tooltip a button builds for itself: the content of the latest build,
// shown in the button's own ToolTipWindow once the pointer has rested on the
// button for the platform's delay, and hidden as the platform hides tips: when
// the pointer leaves, a mouse button or key is pressed, or after ten times
// the delay. After a press or such a timeout the tip stays away until the
// pointer has left the button. A tip with empty text never shows.
class ButtonToolTip final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ButtonToolTip)

public:
    // `mayShow` tells whether the button lets a tip show now.
    ButtonToolTip(QWidget *button, std::function<bool()> mayShow);
    ~ButtonToolTip() override;

    // Replaces the tip with a new one; a tip on screen goes.
    void build(const ToolTipContent &content);
    const std::optional<ToolTipContent> &content() const { return m_content; }
    // Null until the first build.
    ToolTipWindow *window() const { return m_window; }
    bool isShowing() const;
    void hide();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wake();
    void sleep(bool dormant);

    QWidget *m_button;
    std::function<bool()> m_mayShow;
    std::optional<ToolTipContent> m_content;
    QPointer<ToolTipWindow> m_window;
    QTimer m_wakeTimer;
    QTimer m_autoPopTimer;
    QPoint m_pointer;
    bool m_dormant = false;
};

} // namespace Lumisong
