#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Lumisong {

// A script of input notifications for the skinned button, read as a whole
// before anything is played. One action a line (lines end with LF; blanks
// around a line do not count); blank lines and lines starting with # are
// skipped; X and Y are integer client pixels:
//   move X Y | press B X Y [SHIFT] | release B X Y [SHIFT]    B left, right, middle
//   dblclick | leave | focusin | focusout | activate | deactivate
//   keydown CODE [SHIFT] | keyup CODE [SHIFT] | keypress ASCII | access ASCII
//   set NAME=VALUE | menu ALIGN [FLAGS] | menu none | unmenu | menuclose X Y
// Numbers are decimal, at most nine digits with an optional sign; FLAGS may
// also be 0x hex. SHIFT is 0 to 7, key codes and characters 0 to 65535.
class ReplayScript
{
public:
    // A script larger than this is refused: it would take minutes to play.
    static constexpr qsizetype MaxBytes = 1024 * 1024;

    struct Action
    {
        int line = 0;       // counted from 1
        QString verb;       // as written: "move", "press", "menu"...
        QList<int> numbers; // B as 1, 2 or 4; absent optional numbers are left out
        QString text;       // the NAME=VALUE of set
    };

    // The script's UTF-8 text at `path`, or on standard input for "-";
    // nothing with *error set when it cannot be read or is too large.
    static std::optional<QString> read(const QString &path, QString *error);

    // The script's actions in order; nothing with *error ("line N: ...") at
    // the first malformed line.
    static std::optional<ReplayScript> parse(const QString &text, QString *error);

    const QList<Action> &actions() const { return m_actions; }

private:
    static std::optional<Action> parseLine(const QString &line, QString *error);

    QList<Action> m_actions;
};

} // namespace Lumisong
