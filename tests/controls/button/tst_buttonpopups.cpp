// The skinned button's drop-down menu and tooltips: where the menu opens, the
// real menu on a shown form, what a presenter is asked, a menu that ends
// first, and the tooltip's content, layout and showing.

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <optional>

#include "buttontesting.h"
#include "controls/button/buttonenums.h"
#include "controls/button/menupopuppresenter.h"
#include "controls/button/tooltipwindow.h"
#include "controls/button/zephbutton.h"
#include "platform/systemcolours.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Lumisong::ButtonTesting;
using namespace Qt::StringLiterals;

class ButtonPopupsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SystemColours::pinStandard(); }

    void menuTopLeft_data();
    void menuTopLeft();
    void realDropDownMenu();
    void presenterSeesTheRequest();
    void destroyedMenuDetaches();
    void toolTipContent_data();
    void toolTipContent();
    void toolTipWindowLayout();
    void toolTipShowsAfterRestingAndHidesOnPress();
    void toolTipTiming();
};

void ButtonPopupsTest::menuTopLeft_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QPoint>("topLeft");
    // A 60 x 40 menu at the anchor (100, 200).
    QTest::newRow("left, top") << 0 << QPoint(100, 200);
    QTest::newRow("right-align") << 0x08 << QPoint(40, 200);
    QTest::newRow("bottom-align") << 0x20 << QPoint(100, 160);
    QTest::newRow("both") << 0x28 << QPoint(40, 160);
    QTest::newRow("centred") << 0x14 << QPoint(70, 180);
    QTest::newRow("right-button tracking does not move it") << 0x02 << QPoint(100, 200);
}

void ButtonPopupsTest::menuTopLeft()
{
    QFETCH(int, flags);
    QFETCH(QPoint, topLeft);
    QCOMPARE(MenuPopupPresenter::menuTopLeft(QPoint(100, 200), QSize(60, 40), flags), topLeft);
}

void ButtonPopupsTest::realDropDownMenu()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"More"_s, ModePush, {20, 30, 75, 23});
    QMenu menu(form.window.get());
    menu.addAction(u"First"_s);
    QAction *second = menu.addAction(u"Second"_s);
    menu.addAction(u"Third"_s);
    button->SetPopupMenu(&menu, 7, 0, second);
    QVERIFY(form.show());
    QSignalSpy mouseDowns(button, &zephbutton::MouseDown);

    QPoint shownAt;
    QAction *shownDefault = nullptr;
    QTimer::singleShot(0, &menu, [&] {
        QTRY_VERIFY(menu.isVisible());
        shownAt = menu.pos();
        shownDefault = menu.defaultAction();
        menu.close();
    });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    // Below and to the right: the menu's top-left corner at the button's bottom-right corner.
    QCOMPARE(shownAt, button->mapToGlobal(QPoint(75, 23)));
    QCOMPARE(shownDefault, second);
    QCOMPARE(menu.defaultAction(), nullptr); // the default item was this showing's only
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(mouseDowns.size(), 0);
    QCOMPARE(button->runtime().state, int(StateNormal));
    QVERIFY(!button->dropDown().menuLatch);
}

namespace {

class FakePresenter final : public PopupPresenter
{
public:
    QList<PopupRequest> requests;
    bool over = true;
    bool present(const PopupRequest &request) override
    {
        requests << request;
        return over;
    }
};

} // namespace

void ButtonPopupsTest::presenterSeesTheRequest()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"More"_s);
    FakePresenter presenter;
    button->setPopupPresenter(&presenter);
    QMenu menu;
    QAction *item = menu.addAction(u"x"_s);
    button->SetPopupMenu(form.window.get(), 0); // not a menu: ignored
    QVERIFY(!button->dropDown().menuSet);
    button->SetPopupMenu(&menu, 5, 1, item);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(presenter.requests.size(), 1);
    const PopupRequest &request = presenter.requests.constFirst();
    QCOMPARE(request.menu, &menu);
    QCOMPARE(request.button, button);
    QCOMPARE(request.anchor, QPoint(0, 23));
    QCOMPARE(request.flags, 0x09);
    QCOMPARE(request.defaultItem, item);
    QVERIFY(button->dropDown().menuLatch);
    QCOMPARE(button->runtime().state, int(StateDown));
    // Unset: the mouse clicks again.
    button->UnsetPopupMenu();
    QSignalSpy clicks(button, &zephbutton::Click);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(button->dropDown().flags, 0x09); // Align and Flags stay
}

void ButtonPopupsTest::destroyedMenuDetaches()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"More"_s);
    auto *menu = new QMenu;
    button->SetPopupMenu(menu, 0);
    delete menu;
    QVERIFY(!button->dropDown().menuSet);
    QSignalSpy clicks(button, &zephbutton::Click);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.size(), 1);
}

void ButtonPopupsTest::toolTipContent_data()
{
    Test::addColumns<int, int, QString, Colour, bool, int, std::optional<Colour>>(
        {"type", "icon", "title", "back", "balloon", "shownIcon", "shownBack"});
    const Colour blue = Colour::rgb(0, 0, 200);
    QTest::newRow("plain") << 0 << 0 << QString() << Colour(0) << false << 0
                           << std::optional<Colour>();
    QTest::newRow("balloon") << 1 << 0 << QString() << blue << true << 0
                             << std::optional<Colour>(blue);
    QTest::newRow("other types are rectangular")
        << 2 << 0 << QString() << Colour(0) << false << 0 << std::optional<Colour>();
    QTest::newRow("an icon without a title shows nothing")
        << 0 << 2 << QString() << Colour(0) << false << 0 << std::optional<Colour>();
    QTest::newRow("warning icon with its title")
        << 0 << 2 << u"Careful"_s << Colour(0) << false << 2 << std::optional<Colour>();
    QTest::newRow("unknown icon number")
        << 0 << 9 << u"T"_s << Colour(0) << false << 0 << std::optional<Colour>();
    QTest::newRow("system colour translated")
        << 0 << 0 << QString() << Colour::system(SystemColours::Window) << false << 0
        << std::optional<Colour>(Colour::rgb(255, 255, 255));
    QTest::newRow("untranslatable colour keeps the system's")
        << 0 << 0 << QString() << Colour(0x12345678u) << false << 0 << std::optional<Colour>();
}

void ButtonPopupsTest::toolTipContent()
{
    QFETCH(int, type);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(Colour, back);
    QFETCH(bool, balloon);
    QFETCH(int, shownIcon);
    QFETCH(std::optional<Colour>, shownBack);
    ButtonProperties properties;
    properties.toolTipType = type;
    properties.toolTipIcon = icon;
    properties.tooltipTitle = title;
    properties.tooltipBackColor = back;
    properties.toolTip = u"tip"_s;
    const ToolTipContent content = ToolTipContent::from(properties, true);
    QCOMPARE(content.balloon, balloon);
    QCOMPARE(content.icon, shownIcon);
    QCOMPARE(content.back, shownBack);
    QVERIFY(content.rightToLeft);
    QCOMPARE(content.text, u"tip"_s);
}

void ButtonPopupsTest::toolTipWindowLayout()
{
    QWidget owner;
    ToolTipWindow window(&owner);
    ToolTipContent content;
    const QFontMetrics metrics(window.font());
    // A single line wider than 240 pixels wraps.
    QString line;
    while (metrics.horizontalAdvance(line) < 400)
        line += u"word "_s;
    content.text = line.trimmed();
    window.setContent(content);
    QVERIFY(window.textRect().width() <= ToolTipWindow::MaxTextWidth);
    QVERIFY(window.textRect().height() >= 2 * metrics.lineSpacing());
    QVERIFY(window.titleRect().isEmpty());
    content.icon = ToolTipContent::Error; // no title row, so no icon either
    window.setContent(content);
    QVERIFY(window.iconRect().isEmpty());
    content.icon = ToolTipContent::NoIcon;

    // Its own line breaks stay; a short text is not widened.
    content.text = u"a\r\nb"_s;
    window.setContent(content);
    QCOMPARE(window.textRect().height(), 2 * metrics.lineSpacing());
    QVERIFY(window.textRect().width() < 40);

    // A title row with its icon, on the right for right-to-left.
    content.title = u"Title"_s;
    content.icon = ToolTipContent::Warning;
    window.setContent(content);
    QVERIFY(window.iconRect().right() < window.titleRect().left());
    QVERIFY(window.titleRect().bottom() < window.textRect().top());
    content.rightToLeft = true;
    window.setContent(content);
    QVERIFY(window.iconRect().left() > window.titleRect().right());

    // The balloon's stem points at the pointer from above the body; the
    // shadow lies beyond the body.
    content.balloon = true;
    window.setContent(content);
    window.showAt(QPoint(200, 100));
    QVERIFY(window.stemAbove());
    QCOMPARE(window.bodyRect().top(), ToolTipWindow::StemHeight);
    QCOMPARE(window.width(), window.bodyRect().width() + ToolTipWindow::ShadowSize);
    window.hide();
}

void ButtonPopupsTest::toolTipShowsAfterRestingAndHidesOnPress()
{
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Tip"_s);
    button->setToolTip(u"Makes the list"_s);
    button->setTooltipTitle(u"生成列表"_s);
    QVERIFY(form.show());
    QSignalSpy built(button, &zephbutton::toolTipBuilt);
    QTest::mouseMove(button, QPoint(10, 10));
    QTRY_COMPARE(built.size(), 1);
    QVERIFY(button->findChild<ToolTipWindow *>());
    QTRY_VERIFY(button->findChild<ToolTipWindow *>()->isVisible());
    QCOMPARE(button->findChild<ToolTipWindow *>()->content().title, u"生成列表"_s);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!button->findChild<ToolTipWindow *>()->isVisible());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    // Pressed, the button builds no new tooltip.
    QCOMPARE(built.size(), 1);
}

// A tip comes only once the pointer has rested, and goes again by itself.
void ButtonPopupsTest::toolTipTiming()
{
    constexpr int Delay = 150;
    const int before = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(Delay);
    Form form;
    zephbutton *button = loadButton(form.window.get(), u"Tip"_s);
    button->setToolTip(u"Makes the list"_s);
    QVERIFY(form.show());
    QTest::mouseMove(button, QPoint(-5, -5)); // from outside the button
    QTest::mouseMove(button, QPoint(12, 8));
    const auto tip = [button] { return button->findChild<ToolTipWindow *>(); };
    QVERIFY(!tip() || !tip()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(tip() && tip()->isVisible(), 20 * Delay);
    QTRY_VERIFY_WITH_TIMEOUT(!tip()->isVisible(), 20 * Delay);
    QApplication::setDoubleClickInterval(before);
}

QTEST_MAIN(ButtonPopupsTest)
#include "tst_buttonpopups.moc"
