#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>

#include "controls/button/popuppresenter.h"

class QMenu;
class QWidget;

namespace Lumisong {

class PreviewControl;
class zephbutton;

// Plays a script of input notifications against a skinned button and writes
// what happens, one line each, in the order it happens: the events raised,
// "menu X Y FLAGS" when the drop-down menu shows, "focus next|previous" when an
// arrow key moves the focus, "tooltip ..." when a tooltip is built, and after
// every action line "= state S value V".
//
// Script lines (blank lines and lines starting with # are skipped; X and Y are
// integer client pixels; the pointer is over the button when 0 <= X < W and
// 0 <= Y < H):
//   move X Y | press B X Y [SHIFT] | release B X Y [SHIFT]    B left, right, middle
//   dblclick | leave | focusin | focusout | activate | deactivate
//   keydown CODE [SHIFT] | keyup CODE [SHIFT] | keypress ASCII | access ASCII
//   set NAME=VALUE | menu ALIGN [FLAGS] | menu none | unmenu | menuclose X Y
// The whole script is read before anything is played.
class ButtonReplay final : public PopupPresenter
{
public:
    // `control` is the preview's button; `out` receives the lines.
    ButtonReplay(PreviewControl &control, zephbutton &button, QString baseDirectory,
                 std::FILE *out);
    ~ButtonReplay() override;
    ButtonReplay(const ButtonReplay &) = delete;
    ButtonReplay &operator=(const ButtonReplay &) = delete;

    // The script at `path`, or standard input for "-"; nothing with *error set
    // when it cannot be read.
    static std::optional<QString> readScript(const QString &path, QString *error);

    // Plays `script`; false with *error ("line N: ...") on a malformed line
    // or a property write that fails. Lines before a failing write have played.
    bool play(const QString &script, QString *error);

    bool present(const PopupRequest &request) override;

private:
    struct Action
    {
        int line = 0;
        QString verb;
        QList<int> numbers;
        QString text; // the NAME=VALUE of set
    };

    static std::optional<Action> parse(const QString &line, QString *error);
    bool perform(const Action &action, QString *error);
    bool over(QPoint point) const;
    void write(const QString &line);
    QMenu *menu();

    PreviewControl &m_control;
    zephbutton &m_button;
    QString m_baseDirectory;
    std::FILE *m_out;
    QPoint m_pointer;
    std::optional<QPoint> m_closePoint;
    std::unique_ptr<QWidget> m_form; // holds the three-item menu
    QMenu *m_menu = nullptr;
};

} // namespace Lumisong
