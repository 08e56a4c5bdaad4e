#include "tools/preview/buttonreplay.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QWidget>

#include "controls/button/zephbutton.h"
#include "tools/preview/previewcontrol.h"

namespace Lumisong {

namespace {

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
                           LineSink out)
    : m_control(control), m_button(button), m_baseDirectory(std::move(baseDirectory)),
      m_out(std::move(out))
{
    // Loading on a running form applies the resize step, so a button below
    // the minimum size grows.
    button.resizeStep();
    button.setUpRunMode();
    using B = zephbutton;
    m_connections << QObject::connect(&button, &B::MouseDown,
                                      [this](qint16 b, qint16 shift, float x, float y) {
                                          write(QStringLiteral("MouseDown %1 %2 %3 %4")
                                                    .arg(b)
                                                    .arg(shift)
                                                    .arg(number(x), number(y)));
                                      });
    m_connections << QObject::connect(
        &button, &B::MouseUp, [this](qint16 b, qint16 shift, float x, float y) {
            write(
                QStringLiteral("MouseUp %1 %2 %3 %4").arg(b).arg(shift).arg(number(x), number(y)));
        });
    m_connections << QObject::connect(&button, &B::Click,
                                      [this] { write(QStringLiteral("Click")); });
    m_connections << QObject::connect(&button, &B::DblClick,
                                      [this] { write(QStringLiteral("DblClick")); });
    m_connections << QObject::connect(&button, &B::MouseEnter,
                                      [this] { write(QStringLiteral("MouseEnter")); });
    m_connections << QObject::connect(&button, &B::MouseLeave,
                                      [this] { write(QStringLiteral("MouseLeave")); });
    m_connections << QObject::connect(&button, &B::KeyDown, [this](qint16 &code, qint16 &shift) {
        write(QStringLiteral("KeyDown %1 %2").arg(code).arg(shift));
    });
    m_connections << QObject::connect(&button, &B::KeyUp, [this](qint16 &code, qint16 &shift) {
        write(QStringLiteral("KeyUp %1 %2").arg(code).arg(shift));
    });
    m_connections << QObject::connect(&button, &B::KeyPress, [this](qint16 &ascii) {
        write(QStringLiteral("KeyPress %1").arg(ascii));
    });
    m_connections << QObject::connect(&button, &B::focusMoveRequested, [this](bool forward) {
        write(forward ? QStringLiteral("focus next") : QStringLiteral("focus previous"));
    });
    m_connections << QObject::connect(&button, &B::toolTipBuilt, [this](const ToolTipContent &tip) {
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
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        QObject::disconnect(connection);
    m_button.setPopupPresenter(nullptr);
    m_button.UnsetPopupMenu();
}

void ButtonReplay::write(const QString &line)
{
    m_out(line);
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

bool ButtonReplay::play(const ReplayScript &script, QString *error)
{
    for (const ReplayScript::Action &action : script.actions()) {
        QString problem;
        if (!perform(action, &problem)) {
            *error = QStringLiteral("line %1: %2").arg(action.line).arg(problem);
            return false;
        }
        write(QStringLiteral("= state %1 value %2")
                  .arg(m_button.runtime().state)
                  .arg(int(m_button.value())));
    }
    return true;
}

bool ButtonReplay::perform(const ReplayScript::Action &action, QString *error)
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
