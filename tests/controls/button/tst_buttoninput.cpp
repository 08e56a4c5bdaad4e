// The button's input state machine on its own: event-sequence tables of input
// notifications and what they raise, show and leave behind, with a host that
// plays the widget's part (Value, option group, menu, tooltip, focus).

#include <QTest>

#include <functional>
#include <memory>

#include "controls/button/buttonenums.h"
#include "controls/button/buttoninput.h"
#include "controls/button/buttonmodel.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/buttonruntime.h"
#include "tests/support/datacolumns.h"
#include "tools/preview/replayscript.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

constexpr QSize Client(75, 23);

// Records what the machine does, one word group per effect, as the replay
// of the preview tool prints them.
class RecordingHost final : public ButtonInput::Host
{
public:
    RecordingHost() : input(std::make_unique<ButtonInput>(*this, properties, runtime))
    {
        properties.enabled = true;
        properties.buttonStyle = StyleBevel;
    }

    ButtonModel model;
    ButtonProperties &properties = model.values();
    ButtonRuntime runtime;
    std::unique_ptr<ButtonInput> input;
    QStringList log;
    bool menuClosesOver = false;
    std::function<void()> duringMenu;               // runs while the menu is open
    std::function<void(ButtonEvent::Kind)> onEvent; // a host handler

    void raiseEvent(const ButtonEvent &e) override
    {
        static const char *const names[] = {"MouseDown", "MouseUp",    "Click",
                                            "DblClick",  "MouseEnter", "MouseLeave",
                                            "KeyDown",   "KeyUp",      "KeyPress"};
        QString line = QString::fromLatin1(names[e.kind]);
        if (e.kind == ButtonEvent::MouseDown || e.kind == ButtonEvent::MouseUp)
            line += u" %1 %2 %3 %4"_s.arg(e.button).arg(e.shift).arg(double(e.x)).arg(double(e.y));
        else if (e.kind == ButtonEvent::KeyDown || e.kind == ButtonEvent::KeyUp)
            line += u" %1 %2"_s.arg(e.code).arg(e.shift);
        else if (e.kind == ButtonEvent::KeyPress)
            line += u" %1"_s.arg(e.code);
        log << line;
        if (onEvent)
            onEvent(e.kind);
    }
    // The model's rules, as the button applies them.
    void redraw() override { model.settleCheckedLook(runtime); }
    void writeValue(bool value) override
    {
        model.assign(ButtonProperty::Value, &ButtonProperties::value, value, runtime);
        redraw();
    }
    void clearOptionGroup() override { log << u"clear group"_s; }
    QSize clientSize() const override { return Client; }
    bool showDropDownMenu(QPoint anchor, int flags) override
    {
        log << u"menu %1 %2 %3"_s.arg(anchor.x()).arg(anchor.y()).arg(flags);
        if (duringMenu)
            duringMenu();
        return menuClosesOver;
    }
    void buildToolTip() override { log << u"tooltip"_s; }
    void moveFocus(bool forward) override
    {
        log << (forward ? u"focus next"_s : u"focus previous"_s);
    }
    void paintNow() override {}
    void requestLeave() override {}
};

// The actions of a script in the replay's words (see ReplayScript), one a
// line or separated by ';', as the preview tool reads them.
QList<ReplayScript::Action> actions(const QString &script)
{
    QString error;
    const std::optional<ReplayScript> parsed =
        ReplayScript::parse(QString(script).replace(u';', u'\n'), &error);
    if (parsed)
        return parsed->actions();
    QTest::qFail(qPrintable(u"malformed script: "_s + error), __FILE__, __LINE__);
    return {};
}

// The pointer is over the button when 0 <= X < 75 and 0 <= Y < 23.
void perform(ButtonInput &input, const ReplayScript::Action &action)
{
    const QString &verb = action.verb;
    const auto n = [&action](int i) { return i < action.numbers.size() ? action.numbers.at(i) : 0; };
    if (verb == u"move")
        input.mouseMove(n(0) >= 0 && n(0) < Client.width() && n(1) >= 0 && n(1) < Client.height());
    else if (verb == u"press")
        input.mouseDown(n(0), n(3), float(n(1)), float(n(2)));
    else if (verb == u"release")
        input.mouseUp(n(0), n(3), float(n(1)), float(n(2)));
    else if (verb == u"dblclick")
        input.dblClick();
    else if (verb == u"leave")
        input.mouseLeave();
    else if (verb == u"keydown")
        input.keyDown(n(0), n(1));
    else if (verb == u"keyup")
        input.keyUp(n(0), n(1));
    else if (verb == u"keypress")
        input.keyPress(n(0));
    else if (verb == u"access")
        input.accessKey(n(0));
    else if (verb == u"focusin")
        input.gotFocus();
    else if (verb == u"focusout")
        input.lostFocus();
    else if (verb == u"activate")
        input.formActivated();
    else if (verb == u"deactivate")
        input.formDeactivated();
    else
        QFAIL(qPrintable(u"action not played here: "_s + verb));
}

void play(RecordingHost &host, const QString &script)
{
    for (const ReplayScript::Action &action : actions(script))
        perform(*host.input, action);
}

} // namespace

class ButtonInputTest : public QObject
{
    Q_OBJECT

private slots:
    void sequences_data();
    void sequences();
    void dropDownAnchors_data();
    void dropDownAnchors();
    void dropDownMenu_data();
    void dropDownMenu();
    void leaveWhileTheMenuOpensIsAbsorbed();
    void destroyedInsideItsHandlers_data();
    void destroyedInsideItsHandlers();
    void handlerChangesTheButtonMidClick();
};

void ButtonInputTest::sequences_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("effects"); // joined by |
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("value");

    const QString click = u"MouseDown 1 0 10 10|Click|MouseUp 1 0 10 10"_s;
    QTest::newRow("click") << 0 << u"press 1 10 10; release 1 10 10"_s << click << 0 << false;
    QTest::newRow("release on the leftmost column is outside")
        << 0 << u"press 1 10 10; release 1 0 10"_s << u"MouseDown 1 0 10 10|MouseUp 1 0 0 10"_s << 2
        << false;
    QTest::newRow("release on the top row is outside")
        << 0 << u"press 1 10 10; release 1 10 0"_s << u"MouseDown 1 0 10 10|MouseUp 1 0 10 0"_s << 2
        << false;
    QTest::newRow("one pixel inside clicks")
        << 0 << u"press 1 10 10; release 1 1 1"_s << u"MouseDown 1 0 10 10|Click|MouseUp 1 0 1 1"_s
        << 0 << false;
    QTest::newRow("last column inside, W outside")
        << 0 << u"press 1 10 10; release 1 74 22; press 1 10 10; release 1 75 10"_s
        << u"MouseDown 1 0 10 10|Click|MouseUp 1 0 74 22|MouseDown 1 0 10 10|MouseUp 1 0 75 10"_s
        << 2 << false;
    QTest::newRow("right button: no pressed look, MouseUp only")
        << 0 << u"move 5 5; press 2 10 10; release 2 10 10"_s
        << u"MouseEnter|tooltip|MouseUp 2 0 10 10"_s << 1 << false;
    QTest::newRow("middle button with shift")
        << 0 << u"press 4 3 4 1; release 4 3 4 1"_s << u"MouseUp 4 1 3 4"_s << 0 << false;
    QTest::newRow("double click order")
        << 0 << u"press 1 10 10; release 1 10 10; dblclick; release 1 10 10"_s
        << u"MouseDown 1 0 10 10|Click|MouseUp 1 0 10 10|MouseDown 1 0 10 10|DblClick|Click|MouseUp 1 0 10 10"_s
        << 0 << false;
    QTest::newRow("double click after a right press does nothing")
        << 0 << u"press 2 10 10; dblclick"_s << QString() << 0 << false;
    QTest::newRow("enter on every move, tooltip once until normal")
        << 0 << u"move 1 1; move 2 2; move 3 3; move 90 3; move 4 4"_s
        << u"MouseEnter|tooltip|MouseEnter|MouseEnter|MouseEnter|tooltip"_s << 1 << false;
    QTest::newRow("dragging out and back") << 0 << u"press 1 10 10; move 90 10; move 10 10"_s
                                           << u"MouseDown 1 0 10 10|MouseEnter"_s << 2 << false;
    QTest::newRow("leave") << 0 << u"move 1 1; leave"_s << u"MouseEnter|tooltip|MouseLeave"_s << 0
                           << false;
    QTest::newRow("Space held while leaving")
        << 0 << u"move 5 5; keydown 32; move 90 5; leave; keyup 32"_s
        << u"MouseEnter|tooltip|KeyDown 32 0|Click|KeyUp 32 0"_s << 0 << false;
    QTest::newRow("Space held freezes the look")
        << 0 << u"keydown 32; move 90 5"_s << u"KeyDown 32 0"_s << 2 << false;
    QTest::newRow("Space while the mouse is held")
        << 0 << u"move 5 5; press 1 5 5; keydown 32; keyup 32; release 1 5 5"_s
        << u"MouseEnter|tooltip|MouseDown 1 0 5 5|KeyDown 32 0|KeyUp 32 0|Click|MouseUp 1 0 5 5"_s
        << 0 << false;
    QTest::newRow("Alt+Space changes nothing") << 0 << u"keydown 32 4"_s << QString() << 0 << false;
    QTest::newRow("Alt+Shift+Space is Space")
        << 0 << u"keydown 32 5"_s << u"KeyDown 32 5"_s << 2 << false;
    QTest::newRow("Enter clicks on the press, no KeyUp")
        << 0 << u"keydown 13; keypress 13; keyup 13"_s << u"Click|KeyDown 13 0|KeyPress 13"_s << 0
        << false;
    QTest::newRow("other key cancels a held Space")
        << 0 << u"keydown 32; keydown 65; keyup 32"_s << u"KeyDown 32 0|KeyDown 65 0|KeyUp 32 0"_s
        << 0 << false;
    QTest::newRow("arrows move the focus and raise KeyDown")
        << 0 << u"keydown 37; keydown 38; keydown 39; keydown 40"_s
        << u"focus previous|KeyDown 37 0|focus previous|KeyDown 38 0|focus next|KeyDown 39 0|focus next|KeyDown 40 0"_s
        << 0 << false;
    QTest::newRow("push button clicks for Enter and Esc as default or cancel")
        << 0 << u"access 13; access 27"_s << u"Click|Click"_s << 0 << false;
    QTest::newRow("access key cancels a held Space")
        << 0 << u"keydown 32; access 97; keyup 32"_s << u"KeyDown 32 0|Click|KeyUp 32 0"_s << 0
        << false;
    QTest::newRow("focus lost over an active form")
        << 0 << u"activate; move 5 5; press 1 5 5; focusout"_s
        << u"MouseEnter|tooltip|MouseDown 1 0 5 5"_s << 1 << false;
    QTest::newRow("focus lost, form inactive")
        << 0 << u"move 5 5; press 1 5 5; focusout"_s << u"MouseEnter|tooltip|MouseDown 1 0 5 5"_s
        << 0 << false;
    QTest::newRow("deactivated under the pointer")
        << 0 << u"activate; move 5 5; keydown 32; deactivate; keyup 32"_s
        << u"MouseEnter|tooltip|KeyDown 32 0|KeyUp 32 0"_s << 1 << false;

    // Check buttons.
    QTest::newRow("check: click toggles")
        << 1 << u"press 1 5 5; release 1 5 5"_s << u"MouseDown 1 0 5 5|Click|MouseUp 1 0 5 5"_s << 2
        << true;
    QTest::newRow("check: two clicks")
        << 1 << u"press 1 5 5; release 1 5 5; press 1 5 5; release 1 5 5"_s
        << u"MouseDown 1 0 5 5|Click|MouseUp 1 0 5 5|MouseDown 1 0 5 5|Click|MouseUp 1 0 5 5"_s << 0
        << false;
    QTest::newRow("check: Space repeats toggle, one Click")
        << 1 << u"keydown 32; keydown 32; keydown 32; keyup 32"_s
        << u"KeyDown 32 0|KeyDown 32 0|KeyDown 32 0|Click|KeyUp 32 0"_s << 2 << true;
    QTest::newRow("check: access key toggles") << 1 << u"access 97"_s << u"Click"_s << 2 << true;
    QTest::newRow("check: access key twice")
        << 1 << u"access 97; access 97"_s << u"Click|Click"_s << 0 << false;
    QTest::newRow("check: Enter and Esc as default or cancel do nothing")
        << 1 << u"access 13; access 27"_s << QString() << 0 << false;
    QTest::newRow("check: Enter key clicks without toggling")
        << 1 << u"keydown 13"_s << u"Click|KeyDown 13 0"_s << 0 << false;
    QTest::newRow("check: a checked toggle gets no tooltip")
        << 1 << u"access 97; move 5 5; move 6 6"_s << u"Click|MouseEnter|MouseEnter"_s << 2 << true;
    QTest::newRow("check: release outside does not toggle")
        << 1 << u"press 1 5 5; release 1 80 5"_s << u"MouseDown 1 0 5 5|MouseUp 1 0 80 5"_s << 2
        << false;

    // Option buttons clear their group before they set themselves.
    QTest::newRow("option: click")
        << 2 << u"press 1 5 5; release 1 5 5"_s
        << u"MouseDown 1 0 5 5|clear group|Click|MouseUp 1 0 5 5"_s << 2 << true;
    QTest::newRow("option: Space") << 2 << u"keydown 32; keyup 32"_s
                                   << u"clear group|KeyDown 32 0|Click|KeyUp 32 0"_s << 2 << true;
    QTest::newRow("option: access key")
        << 2 << u"access 111"_s << u"clear group|Click"_s << 2 << true;
    QTest::newRow("option: Enter as default") << 2 << u"access 13"_s << QString() << 0 << false;
}

void ButtonInputTest::sequences()
{
    QFETCH(int, mode);
    QFETCH(QString, script);
    QFETCH(QString, effects);
    QFETCH(int, state);
    QFETCH(bool, value);
    RecordingHost host;
    host.properties.mode = mode;
    play(host, script);
    QCOMPARE(host.log.join(u'|'), effects);
    QCOMPARE(host.runtime.state, state);
    QCOMPARE(host.properties.value, value);
}

void ButtonInputTest::dropDownAnchors_data()
{
    Test::addColumns<int, int, QPoint, int>({"align", "flags", "point", "stored"});
    QTest::newRow("0 below, left edges") << 0 << 2 << QPoint(0, 23) << 2;
    QTest::newRow("1 above replaces the flags") << 1 << 2 << QPoint(0, 0) << 0x20;
    QTest::newRow("2 left adds right-align") << 2 << 2 << QPoint(0, 0) << 0x0A;
    QTest::newRow("2 adding is idempotent") << 2 << 0x08 << QPoint(0, 0) << 0x08;
    QTest::newRow("3 right, top edges") << 3 << 1 << QPoint(75, 0) << 1;
    QTest::newRow("4 above left loses the caller's flag") << 4 << 2 << QPoint(0, 0) << 0x28;
    QTest::newRow("5 below left") << 5 << 0 << QPoint(0, 23) << 0x08;
    QTest::newRow("6 above right") << 6 << 0x08 << QPoint(75, 0) << 0x20;
    QTest::newRow("7 below right") << 7 << 4 << QPoint(75, 23) << 4;
}

void ButtonInputTest::dropDownAnchors()
{
    QFETCH(int, align);
    QFETCH(int, flags);
    QFETCH(QPoint, point);
    QFETCH(int, stored);
    const std::optional<DropDownAnchor> anchor = dropDownAnchor(align, flags, Client);
    QVERIFY(anchor);
    QCOMPARE(anchor->point, point);
    QCOMPARE(anchor->flags, stored);
    QVERIFY(!dropDownAnchor(8, flags, Client));
    QVERIFY(!dropDownAnchor(-1, flags, Client));
}

void ButtonInputTest::dropDownMenu_data()
{
    Test::addColumns<int, int, bool, QString, QString, int, bool, int>(
        {"align", "flags", "closesOver", "script", "effects", "state", "latch", "storedFlags"});

    QTest::newRow("a full click raises nothing and opens the menu")
        << 0 << 0 << false << u"press 1 10 10; release 1 10 10"_s << u"menu 0 23 0"_s << 0 << false
        << 0;
    QTest::newRow("closing over the button latches the pressed look")
        << 0 << 0 << true << u"press 1 10 10"_s << u"menu 0 23 0"_s << 2 << true << 0;
    QTest::newRow("the next release ends the latch")
        << 0 << 0 << true << u"press 1 10 10; release 1 10 10"_s << u"menu 0 23 0"_s << 0 << false
        << 0;
    QTest::newRow("a press while latched opens nothing")
        << 0 << 0 << true << u"press 1 10 10; press 1 10 10; release 1 10 10; press 1 10 10"_s
        << u"menu 0 23 0|menu 0 23 0"_s << 2 << true << 0;
    QTest::newRow("a right press while latched only presses")
        << 0 << 0 << true << u"press 1 10 10; press 2 10 10"_s << u"menu 0 23 0"_s << 2 << true
        << 0;
    QTest::newRow("any release ends the latch")
        << 0 << 0 << true << u"press 1 10 10; release 2 10 10"_s << u"menu 0 23 0"_s << 0 << false
        << 0;
    QTest::newRow("the flags a position stores last")
        << 4 << 2 << false << u"press 1 10 10; release 1 10 10; press 1 10 10"_s
        << u"menu 0 0 40|menu 0 0 40"_s << 0 << false << 0x28;
    QTest::newRow("right-align is added once")
        << 2 << 0 << false << u"press 1 10 10; release 1 10 10; press 1 10 10"_s
        << u"menu 0 0 8|menu 0 0 8"_s << 0 << false << 8;
    QTest::newRow("an align outside 0..7 only presses")
        << 9 << 3 << true << u"press 1 10 10"_s << QString() << 2 << false << 3;
    QTest::newRow("double click opens it again unless latched")
        << 7 << 0 << false << u"press 1 10 10; release 1 10 10; dblclick"_s
        << u"menu 75 23 0|menu 75 23 0|menu 75 23 0"_s << 0 << false << 0;
    QTest::newRow("Enter still clicks and opens nothing")
        << 0 << 0 << false << u"keydown 13"_s << u"Click|KeyDown 13 0"_s << 0 << false << 0;
    QTest::newRow("Space and the access key still click")
        << 0 << 0 << false << u"keydown 32; keyup 32; access 97"_s
        << u"KeyDown 32 0|Click|KeyUp 32 0|Click"_s << 0 << false << 0;
    QTest::newRow("no tooltip while latched") << 0 << 0 << true << u"press 1 10 10; move 5 5"_s
                                              << u"menu 0 23 0|MouseEnter"_s << 2 << true << 0;
}

void ButtonInputTest::dropDownMenu()
{
    QFETCH(int, align);
    QFETCH(int, flags);
    QFETCH(bool, closesOver);
    QFETCH(QString, script);
    QFETCH(QString, effects);
    QFETCH(int, state);
    QFETCH(bool, latch);
    QFETCH(int, storedFlags);
    RecordingHost host;
    DropDownState &dropDown = host.input->dropDown();
    dropDown.menuSet = true;
    dropDown.align = align;
    dropDown.flags = flags;
    host.menuClosesOver = closesOver;
    play(host, script);
    QCOMPARE(host.log.join(u'|'), effects);
    QCOMPARE(host.runtime.state, state);
    QCOMPARE(dropDown.menuLatch, latch);
    QCOMPARE(dropDown.flags, storedFlags);
}

void ButtonInputTest::leaveWhileTheMenuOpensIsAbsorbed()
{
    RecordingHost host;
    host.input->dropDown().menuSet = true;
    host.duringMenu = [&host] { host.input->mouseLeave(); };
    // The menu closes elsewhere: everything goes back to normal.
    play(host, u"move 5 5; press 1 5 5"_s);
    QCOMPARE(host.log.join(u'|'), u"MouseEnter|tooltip|menu 0 23 0"_s);
    QCOMPARE(host.runtime.state, int(StateNormal));
    QVERIFY(!host.input->dropDown().menuLatch);

    // It closes over the button: the absorbed leave latched it; the next leave
    // ends the latch and is an ordinary leave again.
    host.log.clear();
    host.menuClosesOver = true;
    play(host, u"move 5 5; press 1 5 5"_s);
    QVERIFY(host.input->dropDown().menuLatch);
    QCOMPARE(host.runtime.state, int(StateDown));
    play(host, u"leave"_s);
    QCOMPARE(host.log.join(u'|'), u"MouseEnter|tooltip|menu 0 23 0|MouseLeave"_s);
    QVERIFY(!host.input->dropDown().menuLatch);
    QCOMPARE(host.runtime.state, int(StateNormal));
}

void ButtonInputTest::destroyedInsideItsHandlers_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("effects");
    QTest::newRow("Click of a mouse release")
        << 0 << u"press 1 5 5; release 1 5 5"_s << u"MouseDown 1 0 5 5|Click"_s;
    QTest::newRow("Click of a double click")
        << 0 << u"dblclick; release 1 5 5"_s << u"MouseDown 1 0 5 5|DblClick|Click"_s;
    QTest::newRow("Click of Enter") << 0 << u"keydown 13"_s << u"Click"_s;
    QTest::newRow("Click of a Space release")
        << 1 << u"keydown 32; keyup 32"_s << u"KeyDown 32 0|Click"_s;
    QTest::newRow("Click of the access key") << 2 << u"access 97"_s << u"clear group|Click"_s;
}

// A host handler that closes the form ends the button inside its own Click:
// the machine stops there and raises nothing more.
void ButtonInputTest::destroyedInsideItsHandlers()
{
    QFETCH(int, mode);
    QFETCH(QString, script);
    QFETCH(QString, effects);
    RecordingHost host;
    host.properties.mode = mode;
    host.input->mouseDown(1, 0, 5, 5); // the press a double click replays
    host.input->mouseUp(1, 0, 80, 5);
    host.log.clear();
    host.onEvent = [&host](ButtonEvent::Kind kind) {
        if (kind == ButtonEvent::Click)
            host.input.reset();
    };
    for (const ReplayScript::Action &action : actions(script)) {
        if (!host.input)
            break;
        perform(*host.input, action);
    }
    QVERIFY(!host.input);
    QCOMPARE(host.log.join(u'|'), effects);
}

// A Click handler that disables the button and attaches a menu: the release
// goes on with MouseUp, and the next press opens nothing because the button
// is disabled.
void ButtonInputTest::handlerChangesTheButtonMidClick()
{
    RecordingHost host;
    host.onEvent = [&host](ButtonEvent::Kind kind) {
        if (kind == ButtonEvent::Click) {
            host.properties.enabled = false;
            host.input->dropDown().menuSet = true;
        }
    };
    play(host, u"press 1 5 5; release 1 5 5; press 1 5 5; keydown 13"_s);
    QCOMPARE(host.log.join(u'|'), u"MouseDown 1 0 5 5|Click|MouseUp 1 0 5 5"_s);
}

QTEST_APPLESS_MAIN(ButtonInputTest)
#include "tst_buttoninput.moc"
