#include "tools/preview/buttonreplay.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QRegularExpression>
#include <QWidget>

#include "controls/button/zephbutton.h"
#include "tools/preview/previewcontrol.h"
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

QString json(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString number(float value)
{
    return QString::number(double(value));
}

} // namespace

ButtonReplay::ButtonReplay(PreviewControl &control, zephbutton &button, QString baseDirectory,
                           std::FILE *out)
    : m_control(control), m_button(button), m_baseDirectory(std::move(baseDirectory)), m_out(out)
{
    using B = zephbutton;
    QObject::connect(&button, &B::MouseDown, [this](qint16 b, qint16 shift, float x, float y) {
        write(QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(shift).arg(number(x), number(y)));
    });
    QObject::connect(&button, &B::MouseUp, [this](qint16 b, qint16 shift, float x, float y) {
        write(QStringLiteral("MouseUp %1 %2 %3 %4").arg(b).arg(shift).arg(number(x), number(y)));
    });
    QObject::connect(&button, &B::Click, [this] { write(QStringLiteral("Click")); });
    QObject::connect(&button, &B::DblClick, [this] { write(QStringLiteral("DblClick")); });
    QObject::connect(&button, &B::MouseEnter, [this] { write(QStringLiteral("MouseEnter")); });
    QObject::connect(&button, &B::MouseLeave, [this] { write(QStringLiteral("MouseLeave")); });
    QObject::connect(&button, &B::KeyDown, [this](qint16 &code, qint16 &shift) {
        write(QStringLiteral("KeyDown %1 %2").arg(code).arg(shift));
    });
    QObject::connect(&button, &B::KeyUp, [this](qint16 &code, qint16 &shift) {
        write(QStringLiteral("KeyUp %1 %2").arg(code).arg(shift));
    });
    QObject::connect(&button, &B::KeyPress,
                     [this](qint16 &ascii) { write(QStringLiteral("KeyPress %1").arg(ascii)); });
    QObject::connect(&button, &B::focusMoveRequested, [this](bool forward) {
        write(forward ? QStringLiteral("focus next") : QStringLiteral("focus previous"));
    });
    QObject::connect(&button, &B::toolTipBuilt, [this](const ToolTipContent &tip) {
        const QString back = tip.back ? tip.back->toText() : QStringLiteral("system");
        write(QStringLiteral("tooltip balloon=%1 icon=%2 back=%3 rtl=%4 title=%5 text=%6")
                  .arg(int(tip.balloon))
                  .arg(tip.icon)
                  .arg(back)
                  .arg(int(tip.rightToLeft))
                  .arg(json(tip.title), json(tip.text)));
    });
    button.setPopupPresenter(this);
}

ButtonReplay::~ButtonReplay()
{
    m_button.setPopupPresenter(nullptr);
    m_button.UnsetPopupMenu();
}

void ButtonReplay::write(const QString &line)
{
    std::fputs(line.toUtf8().constData(), m_out);
    std::fputc('\n', m_out);
}

QMenu *ButtonReplay::menu()
{
    if (!m_menu) {
        m_form = std::make_unique<QWidget>();
        m_menu = new QMenu(m_form.get());
        for (const char *item : {"mnuFirst", "mnuSecond", "mnuThird"})
            m_menu->addAction(QString::fromLatin1(item));
    }
    return m_menu;
}

bool ButtonReplay::over(QPoint point) const
{
    return point.x() >= 0 && point.x() < m_button.width() && point.y() >= 0 &&
           point.y() < m_button.height();
}

bool ButtonReplay::present(const PopupRequest &request)
{
    write(QStringLiteral("menu %1 %2 %3")
              .arg(request.anchor.x())
              .arg(request.anchor.y())
              .arg(request.flags));
    // Without a menuclose line the pointer stays where it was when the menu opened.
    if (m_closePoint)
        m_pointer = *m_closePoint;
    m_closePoint.reset();
    return over(m_pointer);
}

std::optional<ButtonReplay::Action> ButtonReplay::parse(const QString &line, QString *error)
{
    Action action;
    const QString trimmed = line.trimmed();
    const qsizetype space = trimmed.indexOf(QRegularExpression(QStringLiteral("\\s")));
    action.verb = space < 0 ? trimmed : trimmed.left(space);
    const QString rest = space < 0 ? QString() : trimmed.mid(space + 1).trimmed();

    if (action.verb == QLatin1String("set")) {
        const qsizetype equals = rest.indexOf(u'=');
        if (equals <= 0) {
            *error = QStringLiteral("expected set NAME=VALUE");
            return std::nullopt;
        }
        action.text = rest;
        return action;
    }
    QStringList words = rest.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
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

std::optional<QString> ButtonReplay::readScript(const QString &path, QString *error)
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
    return QString::fromUtf8(file.readAll());
}

bool ButtonReplay::play(const QString &script, QString *error)
{
    QList<Action> actions;
    const QStringList lines = script.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QString problem;
        std::optional<Action> action = parse(line, &problem);
        if (!action) {
            *error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
            return false;
        }
        action->line = int(i + 1);
        actions << *action;
    }
    for (const Action &action : std::as_const(actions)) {
        QString problem;
        if (!perform(action, &problem)) {
            *error = QStringLiteral("line %1: %2").arg(action.line).arg(problem);
            return false;
        }
        write(QStringLiteral("= state %1 value %2")
                  .arg(m_button.runtime().state)
                  .arg(int(m_button.value())));
        std::fflush(m_out);
    }
    return true;
}

bool ButtonReplay::perform(const Action &action, QString *error)
{
    const QString &verb = action.verb;
    const QList<int> &n = action.numbers;
    const auto at = [&n](qsizetype i) { return i < n.size() ? n.at(i) : 0; };
    ButtonInput &input = m_button.input();
    bool handled = false;
    qintptr result = 0;

    if (verb == QLatin1String("move")) {
        m_pointer = QPoint(at(0), at(1));
        input.mouseMove(over(m_pointer));
    } else if (verb == QLatin1String("press")) {
        m_pointer = QPoint(at(1), at(2));
        input.mouseDown(at(0), at(3), float(at(1)), float(at(2)));
    } else if (verb == QLatin1String("release")) {
        m_pointer = QPoint(at(1), at(2));
        input.mouseUp(at(0), at(3), float(at(1)), float(at(2)));
    } else if (verb == QLatin1String("dblclick")) {
        input.dblClick();
    } else if (verb == QLatin1String("leave")) {
        m_button.Subclass_WndProc(false, handled, result, 0, zephbutton::MessageMouseLeave, 0, 0);
    } else if (verb == QLatin1String("keydown")) {
        input.keyDown(at(0), at(1));
    } else if (verb == QLatin1String("keyup")) {
        input.keyUp(at(0), at(1));
    } else if (verb == QLatin1String("keypress")) {
        input.keyPress(at(0));
    } else if (verb == QLatin1String("access")) {
        input.accessKey(at(0));
    } else if (verb == QLatin1String("focusin")) {
        input.gotFocus();
    } else if (verb == QLatin1String("focusout")) {
        input.lostFocus();
    } else if (verb == QLatin1String("activate") || verb == QLatin1String("deactivate")) {
        const quintptr active = verb == QLatin1String("activate") ? 1 : 0;
        m_button.Subclass_WndProc(false, handled, result, 0, zephbutton::MessageActivate, active,
                                  0);
    } else if (verb == QLatin1String("set")) {
        const qsizetype equals = action.text.indexOf(u'=');
        return m_control.assign(action.text.left(equals).trimmed(), action.text.mid(equals + 1),
                                m_baseDirectory, error);
    } else if (verb == QLatin1String("menu")) {
        if (n.isEmpty())
            m_button.SetPopupMenu(nullptr, 0);
        else
            m_button.SetPopupMenu(menu(), at(0), at(1));
    } else if (verb == QLatin1String("unmenu")) {
        m_button.UnsetPopupMenu();
    } else if (verb == QLatin1String("menuclose")) {
        m_closePoint = QPoint(at(0), at(1));
    }
    return true;
}

} // namespace Lumisong
