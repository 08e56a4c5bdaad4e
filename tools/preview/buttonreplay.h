#pragma once

#include <QList>
#include <QMetaObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "controls/button/popuppresenter.h"
#include "tools/preview/replayscript.h"

class QMenu;
class QWidget;

namespace Lumisong {

class PreviewControl;
class zephbutton;

// Plays a replay script (replayscript.h) against a skinned button and tells
// what happens, one line each, in the order it happens: the events raised,
// "menu X Y FLAGS" when the drop-down menu shows, "focus next|previous" when an
// arrow key moves the focus, "tooltip ..." when a tooltip is built, and after
// every action line "= state S value V".
class ButtonReplay final : public PopupPresenter
{
public:
    using LineSink = std::function<void(const QString &line)>;

    // `control` is the preview's button, with its saved and assigned
    // properties; it is put on a running form that has not been activated
    // yet. `out` receives the lines; `set` reads pictures relative to
    // `baseDirectory`.
    ButtonReplay(PreviewControl &control, zephbutton &button, QString baseDirectory, LineSink out);
    ~ButtonReplay() override;
    ButtonReplay(const ButtonReplay &) = delete;
    ButtonReplay &operator=(const ButtonReplay &) = delete;

    // Plays `script`; false with *error ("line N: ...") when a property write
    // fails, after the lines before it have played.
    bool play(const ReplayScript &script, QString *error);

    bool present(const PopupRequest &request) override;

private:
    bool perform(const ReplayScript::Action &action, QString *error);
    bool over(QPoint point) const;
    void write(const QString &line);
    QMenu *menu();

    PreviewControl &m_control;
    zephbutton &m_button;
    QString m_baseDirectory;
    LineSink m_out;
    QPoint m_pointer;
    std::optional<QPoint> m_closePoint;
    std::unique_ptr<QWidget> m_form;              // holds the three-item menu
    QList<QMetaObject::Connection> m_connections; // the button's signals, to the lines
    QMenu *m_menu = nullptr;
};

} // namespace Lumisong
