#include "tools/preview/replayscript.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>

#include "tools/preview/propertytext.h"

namespace Lumisong {

namespace {

struct Grammar
{
    const char *verb;
    int required; // numbers that must follow
    int optional; // numbers that may follow them
};

// Verbs taking numbers only; press and release read their button name first.
constexpr Grammar Verbs[] = {
    {"move", 2, 0},      {"dblclick", 0, 0}, {"leave", 0, 0},      {"keydown", 1, 1},
    {"keyup", 1, 1},     {"keypress", 1, 0}, {"access", 1, 0},     {"focusin", 0, 0},
    {"focusout", 0, 0},  {"activate", 0, 0}, {"deactivate", 0, 0}, {"unmenu", 0, 0},
    {"menuclose", 2, 0}, {"press", 3, 1},    {"release", 3, 1},    {"menu", 1, 1},
};

std::optional<int> integer(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?\\d{1,9}$"));
    if (decimal.match(text).hasMatch())
        return text.toInt();
    return std::nullopt;
}

std::optional<int> mouseButton(const QString &text)
{
    if (text == QLatin1String("left") || text == QLatin1String("1"))
        return 1;
    if (text == QLatin1String("right") || text == QLatin1String("2"))
        return 2;
    if (text == QLatin1String("middle") || text == QLatin1String("4"))
        return 4;
    return std::nullopt;
}

} // namespace

std::optional<ReplayScript::Action> ReplayScript::parseLine(const QString &line, QString *error)
{
    static const QRegularExpression blank(QStringLiteral("\\s"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    Action action;
    const qsizetype space = line.indexOf(blank);
    action.verb = space < 0 ? line : line.left(space);
    const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();

    if (action.verb == QLatin1String("set")) {
        const qsizetype equals = rest.indexOf(u'=');
        if (equals <= 0) {
            *error = QStringLiteral("expected set NAME=VALUE");
            return std::nullopt;
        }
        action.text = rest;
        return action;
    }
    const QStringList words = rest.split(blanks, Qt::SkipEmptyParts);
    if (action.verb == QLatin1String("menu") && words == QStringList{QStringLiteral("none")})
        return action; // SetPopupMenu without a menu

    const Grammar *grammar = nullptr;
    for (const Grammar &g : Verbs) {
        if (action.verb == QLatin1String(g.verb))
            grammar = &g;
    }
    if (!grammar) {
        *error = QStringLiteral("unknown action \"%1\"").arg(action.verb);
        return std::nullopt;
    }
    if (words.size() < grammar->required || words.size() > grammar->required + grammar->optional) {
        *error = QStringLiteral("%1 takes %2 to %3 arguments")
                     .arg(action.verb)
                     .arg(grammar->required)
                     .arg(grammar->required + grammar->optional);
        return std::nullopt;
    }
    const bool mouse =
        action.verb == QLatin1String("press") || action.verb == QLatin1String("release");
    for (qsizetype i = 0; i < words.size(); ++i) {
        std::optional<int> value;
        if (mouse && i == 0)
            value = mouseButton(words.at(i));
        else if (action.verb == QLatin1String("menu") && i == 1)
            value = PropertyText::parseInteger(words.at(i));
        else
            value = integer(words.at(i));
        if (!value) {
            *error = QStringLiteral("malformed argument \"%1\"").arg(words.at(i));
            return std::nullopt;
        }
        action.numbers << *value;
    }
    // Shift states are 1 Shift, 2 Ctrl, 4 Alt; codes and characters are 16-bit.
    const bool keyed =
        action.verb.startsWith(QLatin1String("key")) || action.verb == QLatin1String("access");
    const qsizetype shiftAt = mouse ? 3 : keyed ? 1 : -1;
    if (shiftAt >= 0 && action.numbers.size() > shiftAt &&
        (action.numbers.at(shiftAt) < 0 || action.numbers.at(shiftAt) > 7)) {
        *error = QStringLiteral("SHIFT must be 0 to 7");
        return std::nullopt;
    }
    if (keyed && (action.numbers.at(0) < 0 || action.numbers.at(0) > 0xFFFF)) {
        *error = QStringLiteral("key codes and characters are 0 to 65535");
        return std::nullopt;
    }
    return action;
}

std::optional<QString> ReplayScript::read(const QString &path, QString *error)
{
    QFile file;
    bool opened = false;
    if (path == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        *error = QStringLiteral("cannot read the script %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // A pipe hands its bytes over in pieces: read to the end or past the limit.
    QByteArray bytes;
    while (bytes.size() <= MaxBytes) {
        const QByteArray piece = file.read(MaxBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > MaxBytes) {
        const QString name = file.fileName().isEmpty() ? QStringLiteral("on standard input") : path;
        *error = QStringLiteral("the script %1 is larger than %2 bytes").arg(name).arg(MaxBytes);
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

std::optional<ReplayScript> ReplayScript::parse(const QString &text, QString *error)
{
    ReplayScript script;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QString problem;
        std::optional<Action> action = parseLine(line, &problem);
        if (!action) {
            *error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
            return std::nullopt;
        }
        action->line = int(i + 1);
        script.m_actions << *action;
    }
    return script;
}

} // namespace Lumisong
