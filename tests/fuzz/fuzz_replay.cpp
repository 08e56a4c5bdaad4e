// Replay scripts of the preview tool, read and played as lumisong-preview
// --replay plays them, against a newly placed 75 x 23 skinned button. A
// malformed script is refused at its first malformed line, named by a number
// within the script, and plays nothing. A well-formed one plays to its end or
// to a property write that fails (named by its line); every line it prints is
// one line of a known kind, and each action ends with "= state S value V",
// S 0 to 2 and V 0 or 1.

#include "tests/fuzz/fuzzsupport.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <memory>

#include "controls/button/zephbutton.h"
#include "tools/preview/buttonreplay.h"
#include "tools/preview/previewregistry.h"
#include "tools/preview/replayscript.h"

using namespace Lumisong;

namespace {

// The number N of an error "line N: ...", or 0.
int lineOf(const QString &error)
{
    static const QRegularExpression named(QStringLiteral("^line ([1-9][0-9]*): "));
    const QRegularExpressionMatch match = named.match(error);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool isAction(const QString &line)
{
    const QString trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith(u'#');
}

void checkRefusal(const QStringList &lines, const QString &error)
{
    const int line = lineOf(error);
    Fuzz::check(line >= 1 && line <= lines.size(),
                QStringLiteral("a malformed script is refused with \"%1\" (%2 lines)")
                    .arg(error)
                    .arg(lines.size()));
    Fuzz::check(isAction(lines.at(line - 1)),
                QStringLiteral("the refusal names a blank or comment line: ") + error);
    // The lines before it are well-formed.
    QString before;
    const QString head = lines.mid(0, line - 1).join(u'\n');
    Fuzz::check(ReplayScript::parse(head, &before).has_value(),
                QStringLiteral("\"%1\" is not the first malformed line: %2").arg(error, before));
}

void checkActions(const QStringList &lines, const ReplayScript &script)
{
    qsizetype count = 0;
    int previous = 0;
    for (const ReplayScript::Action &action : script.actions()) {
        Fuzz::check(action.line > previous && action.line <= lines.size() &&
                        isAction(lines.at(action.line - 1)),
                    QStringLiteral("an action has the line number %1").arg(action.line));
        previous = action.line;
        ++count;
    }
    Fuzz::check(count == std::count_if(lines.begin(), lines.end(), isAction),
                QStringLiteral("not every action line became one action"));
}

// What the replay prints: one line at a time, of a known kind.
void checkOutputLine(const QString &line)
{
    static const QRegularExpression known(QStringLiteral(
        "^(= state [0-2] value [01]|Mouse(Down|Up) [124] [0-7] \\S+ \\S+|Click|DblClick|"
        "MouseEnter|MouseLeave|Key(Down|Up) -?[0-9]+ [0-7]|KeyPress -?[0-9]+|"
        "menu -?[0-9]+ -?[0-9]+ -?[0-9]+|focus (next|previous)|"
        "tooltip balloon=[01] icon=[0-3] back=(system|rgb\\([0-9]+, [0-9]+, [0-9]+\\)) "
        "rtl=[01] title=\".*\" text=\".*\")$"));
    Fuzz::check(known.match(line).hasMatch() && !line.contains(u'\n') && !line.contains(u'\r'),
                QStringLiteral("the replay prints \"%1\"").arg(line.left(300)));
}

void play(const ReplayScript &script)
{
    std::unique_ptr<PreviewControl> control =
        PreviewRegistry::instance().create(QStringLiteral("Lumisong.zephbutton"), QSize(75, 23));
    auto *button = qobject_cast<zephbutton *>(control->widget());
    Fuzz::check(button, QStringLiteral("the preview makes no skinned button"));
    control->create();

    qsizetype states = 0;
    QString last;
    QString error;
    bool played = false;
    {
        ButtonReplay replay(*control, *button, Fuzz::pictureFolder(), [&](const QString &line) {
            checkOutputLine(line);
            if (line.startsWith(QLatin1String("= state ")))
                ++states;
            last = line;
        });
        played = replay.play(script, &error);
    }
    const qsizetype actions = script.actions().size();
    if (actions > 0)
        Fuzz::check(last.startsWith(QLatin1String("= state ")) || !played,
                    QStringLiteral("the replay ends with \"%1\"").arg(last));
    if (played) {
        Fuzz::check(
            states == actions,
            QStringLiteral("%1 actions played, %2 states printed").arg(actions).arg(states));
        return;
    }
    // Only a property write fails in play, after the actions before it.
    const int line = lineOf(error);
    Fuzz::check(states < actions, QStringLiteral("a replay of %1 actions fails after %2: %3")
                                      .arg(actions)
                                      .arg(states)
                                      .arg(error));
    const ReplayScript::Action &failed = script.actions().at(states);
    Fuzz::check(failed.line == line && failed.verb == QLatin1String("set"),
                QStringLiteral("the replay fails with \"%1\" at the action of line %2 (%3)")
                    .arg(error)
                    .arg(failed.line)
                    .arg(failed.verb));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::ensureOffscreenApplication();
    Fuzz::pictureFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (qsizetype(size) > ReplayScript::MaxBytes)
        return 0; // the tool refuses it unread
    // As the tool reads a script: UTF-8, split at LF.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = text.split(u'\n');
    QString error;
    const std::optional<ReplayScript> script = ReplayScript::parse(text, &error);
    if (script) {
        checkActions(lines, *script);
        play(*script);
    } else {
        checkRefusal(lines, error);
    }
    Fuzz::runPendingEvents();
    return 0;
}
