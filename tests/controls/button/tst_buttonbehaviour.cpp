// The skinned button as a widget on a shown form, driven with Qt's own events:
// mouse, keyboard and access keys, option groups per container, the form's
// activation, buttons ended inside their own Click, input redraws, and what
// assistive technology reads.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "buttontesting.h"
#include "controls/button/buttonaccessible.h"
#include "controls/button/buttonenums.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"

using namespace Lumisong;
using namespace Lumisong::ButtonTesting;
using namespace Qt::StringLiterals;

namespace {

// Every event of a button's interface, as one line each.
QStringList *recordEvents(zephbutton *button)
{
    auto *log = new QStringList;
    QObject::connect(button, &QObject::destroyed, [log] { delete log; });
    QObject::connect(button, &zephbutton::MouseDown, [log](qint16 b, qint16 s, float x, float y) {
        *log << u"MouseDown %1 %2 %3 %4"_s.arg(b).arg(s).arg(double(x)).arg(double(y));
    });
    QObject::connect(button, &zephbutton::MouseUp, [log](qint16 b, qint16 s, float x, float y) {
        *log << u"MouseUp %1 %2 %3 %4"_s.arg(b).arg(s).arg(double(x)).arg(double(y));
    });
    QObject::connect(button, &zephbutton::Click, [log] { *log << u"Click"_s; });
    QObject::connect(button, &zephbutton::DblClick, [log] { *log << u"DblClick"_s; });
    QObject::connect(button, &zephbutton::MouseLeave, [log] { *log << u"MouseLeave"_s; });
    QObject::connect(button, &zephbutton::KeyDown,
                     [log](qint16 &c, qint16 &s) { *log << u"KeyDown %1 %2"_s.arg(c).arg(s); });
    QObject::connect(button, &zephbutton::KeyUp,
                     [log](qint16 &c, qint16 &s) { *log << u"KeyUp %1 %2"_s.arg(c).arg(s); });
    QObject::connect(button, &zephbutton::KeyPress,
                     [log](qint16 &a) { *log << u"KeyPress %1"_s.arg(a); });
    return log;
}

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, quint64 time,
               Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    event.setTimestamp(time);
    QCoreApplication::sendEvent(widget, &event);
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject
{
public:
    int paints = 0;

    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class ButtonBehaviourTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SystemColours::pinStandard(); }

    void mouseClicksAndDoubleClicks();
    void platformDoubleClickSequence();
    void keyboard();
    void autoRepeatedSpaceTogglesACheckButton();
    void accessKeyWithAlt();
    void accessKeyShowsTheNewLookBeforeTheClick_data();
    void accessKeyShowsTheNewLookBeforeTheClick();
    void optionGroupsPerContainer();
    void disabledByQWidgetIsDisabled();
    void formActivationAndLeave();
    void buttonsEndAndMoveInAnyOrder();
    void destroyedInsideClick_data();
    void destroyedInsideClick();
    void inputRedrawsShowPropertyChanges();
    void accessibleButton_data();
    void accessibleButton();
    void accessibleProgressBar();
};

void ButtonBehaviourTest::mouseClicksAndDoubleClicks()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"OK"_s);
    QVERIFY(form.show());
    const QStringList *log = recordEvents(button);
    // As the existing window tests deliver a double click: click, double click, release.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 6));
    QCOMPARE(*log, (QStringList{u"MouseDown 1 0 5 6"_s, u"Click"_s, u"MouseUp 1 0 5 6"_s,
                                u"MouseDown 1 0 5 6"_s, u"DblClick"_s, u"Click"_s,
                                u"MouseUp 1 0 5 6"_s}));
    QVERIFY(button->hasFocus());
}

// Qt delivers the second press of a double click as a press followed by a
// double-click event; the button sees it once, as its double click.
void ButtonBehaviourTest::platformDoubleClickSequence()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"OK"_s);
    QVERIFY(form.show());
    const QStringList *log = recordEvents(button);
    const QPoint at(7, 8);
    quint64 t = 100000;
    sendMouse(button, QEvent::MouseButtonPress, at, t);
    sendMouse(button, QEvent::MouseButtonRelease, at, t + 20);
    sendMouse(button, QEvent::MouseButtonPress, at, t + 60);
    sendMouse(button, QEvent::MouseButtonDblClick, at, t + 60);
    sendMouse(button, QEvent::MouseButtonRelease, at, t + 80);
    // A third press soon after starts a new click, not another double click.
    sendMouse(button, QEvent::MouseButtonPress, at, t + 120);
    sendMouse(button, QEvent::MouseButtonRelease, at, t + 140);
    QCOMPARE(log->join(u'|'),
             u"MouseDown 1 0 7 8|Click|MouseUp 1 0 7 8|MouseDown 1 0 7 8|DblClick|Click|"
             "MouseUp 1 0 7 8|MouseDown 1 0 7 8|Click|MouseUp 1 0 7 8"_s);
}

void ButtonBehaviourTest::keyboard()
{
    Form form;
    zephbutton *first = loadButton(form.window.get(), u"One"_s);
    zephbutton *second = loadButton(form.window.get(), u"Two"_s, ModePush, {100, 10, 75, 23});
    QVERIFY(form.show());
    first->setFocus();
    QVERIFY(first->hasFocus());
    QStringList *log = recordEvents(first);

    QTest::keyPress(first, Qt::Key_Space);
    QCOMPARE(first->runtime().state, int(StateDown));
    QTest::keyRelease(first, Qt::Key_Space);
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(log->join(u'|'),
             u"KeyDown 32 0|KeyPress 32|Click|KeyUp 32 0|Click|KeyDown 13 0|KeyPress 13"_s);
    // Alt+Space is the window's: no KeyDown of Space, no pressed look, no Click.
    log->clear();
    QTest::keyClick(first, Qt::Key_Space, Qt::AltModifier);
    QVERIFY(!log->contains(u"KeyDown 32 4"_s));
    QVERIFY(!log->contains(u"Click"_s));
    QCOMPARE(first->runtime().state, int(StateNormal));

    // An arrow key raises KeyDown and then moves the focus on.
    QTest::keyClick(first, Qt::Key_Right);
    QCOMPARE(log->constLast(), u"KeyDown 39 0"_s);
    QTRY_VERIFY(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Up);
    QTRY_VERIFY(first->hasFocus());

    // Keys the button has no use for reach its form too.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    QCoreApplication::sendEvent(first, &escape);
    QVERIFY(!escape.isAccepted());
    QCOMPARE(log->constLast(), u"KeyPress 27"_s);
}

void ButtonBehaviourTest::autoRepeatedSpaceTogglesACheckButton()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Bold"_s, ModeCheck);
    QVERIFY(form.show());
    button->setFocus();
    QSignalSpy clicks(button, &zephbutton::Click);
    QTest::keyPress(button, Qt::Key_Space);
    // A held key repeats presses; Qt also sends repeated releases between them.
    for (int i = 0; i < 2; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
        QCoreApplication::sendEvent(button, &release);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
        QCoreApplication::sendEvent(button, &press);
    }
    QCOMPARE(clicks.size(), 0);
    QVERIFY(button->value()); // three toggles
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(button->value());
}

void ButtonBehaviourTest::accessKeyWithAlt()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Save && &Load"_s, ModeCheck);
    QVERIFY(form.show());
    QSignalSpy clicks(button, &zephbutton::Click);
    QTest::keyClick(form.window.get(), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(clicks.size(), 0);
    QTest::keyClick(form.window.get(), Qt::Key_L, Qt::AltModifier);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(button->value());
    // A new caption takes its key along.
    button->setCaption(u"&Save"_s);
    QTest::keyClick(form.window.get(), Qt::Key_L, Qt::AltModifier);
    QTest::keyClick(form.window.get(), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(clicks.size(), 2);
    QVERIFY(!button->value());
}

void ButtonBehaviourTest::accessKeyShowsTheNewLookBeforeTheClick_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("lookAtClick");
    // A checked toggle of the bevel style is drawn pressed.
    QTest::newRow("push") << int(ModePush) << int(StateNormal);
    QTest::newRow("check") << int(ModeCheck) << int(StateDown);
    QTest::newRow("option") << int(ModeOption) << int(StateDown);
}

// The new look is on the screen when the click's handler runs, and no other
// event has run inside the key's handling.
void ButtonBehaviourTest::accessKeyShowsTheNewLookBeforeTheClick()
{
    QFETCH(int, mode);
    QFETCH(int, lookAtClick);
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"&Load"_s, mode);
    QVERIFY(form.show());
    QCoreApplication::sendPostedEvents();
    PaintCounter counter;
    button->installEventFilter(&counter);
    bool timerRan = false;
    QTimer::singleShot(0, button, [&timerRan] { timerRan = true; });
    int paintsAtClick = -1;
    int stateAtClick = -1;
    bool timerRanAtClick = true;
    connect(button, &zephbutton::Click, button, [&] {
        paintsAtClick = counter.paints;
        stateAtClick = button->runtime().state;
        timerRanAtClick = timerRan;
    });
    QTest::keyClick(form.window.get(), Qt::Key_L, Qt::AltModifier);
    QVERIFY(paintsAtClick > 0);
    QCOMPARE(stateAtClick, lookAtClick);
    QVERIFY(!timerRanAtClick);
}

void ButtonBehaviourTest::optionGroupsPerContainer()
{
    Form form;
    auto *frame1 = new QWidget(form.window.get());
    frame1->setGeometry(0, 0, 300, 40);
    auto *frame2 = new QWidget(form.window.get());
    frame2->setGeometry(0, 50, 300, 40);
    QList<zephbutton *> first;
    QList<zephbutton *> second;
    for (int i = 0; i < 3; ++i)
        first << loadButton(frame1, u"A%1"_s.arg(i), ModeOption, {i * 80, 5, 75, 23});
    for (int i = 0; i < 2; ++i)
        second << loadButton(frame2, u"B%1"_s.arg(i), ModeOption, {i * 80, 5, 75, 23});
    auto *checkInFrame = loadButton(frame1, u"C"_s, ModeCheck, {250, 5, 40, 23});
    QVERIFY(form.show());
    for (zephbutton *b : first + second + QList<zephbutton *>{checkInFrame})
        b->setValue(true);

    QSignalSpy cleared(first.at(0), &zephbutton::propertyChanged);
    QTest::mouseClick(first.at(1), Qt::LeftButton);
    QCOMPARE(first.at(0)->value(), false);
    QCOMPARE(first.at(1)->value(), true);
    QCOMPARE(first.at(2)->value(), false);
    QCOMPARE(second.at(0)->value(), true);
    QCOMPARE(second.at(1)->value(), true);
    QCOMPARE(checkInFrame->value(), true); // only option buttons form the group
    QCOMPARE(cleared.size(), 1);           // cleared through Value: redrawn and announced
    QCOMPARE(first.at(0)->runtime().state, int(StateNormal));
}

void ButtonBehaviourTest::disabledByQWidgetIsDisabled()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Go"_s);
    QVERIFY(form.show());
    QSignalSpy changes(button, &zephbutton::propertyChanged);
    QSignalSpy clicks(button, &zephbutton::Click);
    static_cast<QWidget *>(button)->setEnabled(false);
    QCOMPARE(button->property("Enabled").toBool(), false);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.at(0).at(0).toString(), u"Enabled"_s);
    QTest::mouseClick(button, Qt::LeftButton);
    button->input().keyDown(13, 0);
    button->input().accessKey(97);
    QCOMPARE(clicks.size(), 0);
    // A disabled parent leaves the button's own Enabled alone.
    static_cast<QWidget *>(button)->setEnabled(true);
    form.window->setEnabled(false);
    QCOMPARE(button->property("Enabled").toBool(), true);
}

void ButtonBehaviourTest::formActivationAndLeave()
{
    Form form;
    zephbutton *running = loadButton(form.window.get(), u"Run"_s);
    auto *designed = new zephbutton(form.window.get());
    zephbutton::Ambient ambient;
    ambient.userMode = false;
    designed->setAmbient(ambient);
    designed->ReadProperties(PropertyBag());
    QVERIFY(!running->runtime().parentActive);
    QVERIFY(form.show());
    QVERIFY(running->runtime().parentActive);
    QVERIFY(!designed->runtime().parentActive); // no interception at design time

    QSignalSpy leaves(running, &zephbutton::MouseLeave);
    QSignalSpy designedLeaves(designed, &zephbutton::MouseLeave);
    sendMouse(running, QEvent::MouseMove, QPoint(5, 5), 1);
    QCOMPARE(running->runtime().state, int(StateHot));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(running, &leave);
    QCoreApplication::sendEvent(designed, &leave);
    QCOMPARE(leaves.size(), 1);
    QCOMPARE(designedLeaves.size(), 0);
    QCOMPARE(running->runtime().state, int(StateNormal));

    // Deactivating the form clears focus, press and Space.
    running->setFocus();
    running->input().keyDown(32, 0);
    QVERIFY(running->input().spaceDown());
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(form.window.get(), &deactivate);
    QVERIFY(!running->runtime().parentActive);
    QVERIFY(!running->runtime().hasFocus);
    QVERIFY(!running->input().spaceDown());
    QCOMPARE(running->runtime().state, int(StateNormal));
}

// Every button of a form watches the form; buttons that end, in any order, or
// move to another form leave the others working.
void ButtonBehaviourTest::buttonsEndAndMoveInAnyOrder()
{
    Form form;
    QList<QPointer<zephbutton>> buttons;
    for (int i = 0; i < 5; ++i)
        buttons << loadButton(form.window.get(), u"B%1"_s.arg(i), ModePush, {i * 50, 10, 45, 23});
    QVERIFY(form.show());
    delete buttons.at(3).data();
    delete buttons.at(0).data();
    QWidget other;
    buttons.at(4)->setParent(&other);
    const auto activation = [](QWidget *window, QEvent::Type type) {
        QEvent event(type);
        QCoreApplication::sendEvent(window, &event);
    };
    activation(form.window.get(), QEvent::WindowDeactivate);
    QVERIFY(!buttons.at(1)->runtime().parentActive);
    QVERIFY(!buttons.at(2)->runtime().parentActive);
    activation(&other, QEvent::WindowActivate);
    QVERIFY(buttons.at(4)->runtime().parentActive);
    QVERIFY(!buttons.at(2)->runtime().parentActive);
    delete buttons.at(2).data();
    activation(form.window.get(), QEvent::WindowActivate);
    QVERIFY(buttons.at(1)->runtime().parentActive);
}

void ButtonBehaviourTest::destroyedInsideClick_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("mouse") << u"mouse"_s;
    QTest::newRow("Space") << u"space"_s;
    QTest::newRow("Enter") << u"enter"_s;
    QTest::newRow("access key") << u"access"_s;
}

// A form closed from a Click handler ends its buttons there; nothing touches
// them afterwards (the sanitizer builds check it).
void ButtonBehaviourTest::destroyedInsideClick()
{
    QFETCH(QString, how);
    auto *window = new QWidget;
    zephbutton *button = loadButton(window, u"&Close"_s);
    window->resize(200, 100);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QPointer<QWidget> guard(window);
    QSignalSpy mouseUps(button, &zephbutton::MouseUp);
    QObject::connect(button, &zephbutton::Click, [window] { delete window; });
    button->setFocus();
    if (how == u"mouse") {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    } else if (how == u"space") {
        QTest::keyPress(button, Qt::Key_Space);
        QTest::keyRelease(button, Qt::Key_Space);
    } else if (how == u"enter") {
        QTest::keyPress(button, Qt::Key_Return);
    } else {
        QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    }
    QVERIFY(!guard);
    QCOMPARE(mouseUps.size(), 0);
}
// Input redraws that repeat the last look are skipped; a property written
// without a redraw of its own still shows at the next input redraw.
void ButtonBehaviourTest::inputRedrawsShowPropertyChanges()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), QString());
    button->setButtonStyle(StyleFlat);
    button->setShowFocusRect(false);
    QVERIFY(form.show());
    button->setFocus();
    const auto activate = [button] {
        bool handled = false;
        qintptr result = 0;
        button->Subclass_WndProc(false, handled, result, 0, zephbutton::MessageActivate, 1, 0);
    };
    activate();
    const QRgb plain = button->surface().image().pixel(3, 3);
    button->setShowFocusRect(true); // announced, not drawn
    QCOMPARE(button->surface().image().pixel(3, 3), plain);
    activate();
    const QRgb focused = button->surface().image().pixel(3, 3);
    QVERIFY(focused != plain); // the dotted focus rectangle
    button->runtime().hasFocus = false;
    activate();
    QCOMPARE(button->surface().image().pixel(3, 3), plain);
}

void ButtonBehaviourTest::accessibleButton_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("role");
    QTest::newRow("push") << 0 << int(QAccessible::Button);
    QTest::newRow("check") << 1 << int(QAccessible::CheckBox);
    QTest::newRow("option") << 2 << int(QAccessible::RadioButton);
}

void ButtonBehaviourTest::accessibleButton()
{
    QFETCH(int, mode);
    QFETCH(int, role);
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Save && &Load"_s, mode);
    zephbutton *other = loadButton(form.window.get(), u"Other"_s, ModePush, {100, 10, 75, 23});
    button->setToolTip(u"Saves, then loads"_s);
    QVERIFY(form.show());
    other->setFocus();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible);
    QCOMPARE(int(accessible->role()), role);
    QCOMPARE(accessible->text(QAccessible::Name), u"Save & Load"_s);
    QCOMPARE(accessible->text(QAccessible::Description), u"Saves, then loads"_s);
    QVERIFY(!accessible->state().focused);
    QVERIFY(!accessible->state().pressed && !accessible->state().checked);

    button->setFocus();
    button->input().keyDown(32, 0); // Space held: pressed, or checked for a toggle
    QVERIFY(accessible->state().focused);
    QCOMPARE(bool(accessible->state().pressed), mode == ModePush);
    QCOMPARE(bool(accessible->state().checked), mode != ModePush);
    QCOMPARE(bool(accessible->state().checkable), mode != ModePush);
    button->input().keyUp(32, 0);

    button->setEnabled(false);
    QVERIFY(accessible->state().disabled);
    button->setEnabled(true);
    // Its action clicks it as the access key does.
    QSignalSpy clicks(button, &zephbutton::Click);
    QAccessibleActionInterface *actions = accessible->actionInterface();
    QVERIFY(actions);
    actions->doAction(actions->actionNames().constFirst());
    QCOMPARE(clicks.size(), 1);
}

void ButtonBehaviourTest::accessibleProgressBar()
{
    ProgressBar bar;
    bar.resize(200, 20);
    bar.UserControl_InitProperties();
    bar.setMax(8);
    bar.setValue(3);
    bar.setText(u"正在处理第 3/8 个选中的项目..."_s);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&bar);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::ProgressBar);
    QCOMPARE(accessible->text(QAccessible::Name), u"正在处理第 3/8 个选中的项目..."_s);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 3);
    QCOMPARE(value->maximumValue().toInt(), 8);
    bar.setTextStyle(2); // the percentage is what the user reads
    QCOMPARE(accessible->text(QAccessible::Name), u"37.5%"_s);
}

QTEST_MAIN(ButtonBehaviourTest)
#include "tst_buttonbehaviour.moc"
