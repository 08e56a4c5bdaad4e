// The main window's song commands: the mouse and the keyboard on the song
// list, the double-click that copies a song's address, the selection buttons
// and the skinned buttons by keyboard.

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "tests/support/qtwarnings.h"
#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "catalogue/catalogue.h"
#include "controls/button/zephbutton.h"
#include "menu/frmmenu.h"
#include "platform/twips.h"
#include "songwindowharness.h"
#include "tests/support/requestsunderway.h"

using namespace Lumisong;

namespace {

QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

// Closes the popup menu that the next mouse release opens, noting its title.
void closePopupSoon(QString *openedTitle)
{
    QTimer::singleShot(0, [openedTitle] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            *openedTitle = menu->title();
            menu->close();
        }
    });
}

} // namespace

class TestSongCommands final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buttonsAsDesigned();
    void mouse_data();
    void mouse();
    void keyboardSelectionThenRightClick();
    void spaceTicksWhicheverColumnWasClicked_data();
    void spaceTicksWhicheverColumnWasClicked();
    void doubleClickCopiesOnceThenFromCache();
    void doubleClickFailureIsTold();
    void doubleClickWhileACopyWaits_data();
    void doubleClickWhileACopyWaits();
    void selectionButtons();
    void buttonsByKeyboard();
    void menuKeyOpensTheRowMenu_data();
    void menuKeyOpensTheRowMenu();
    void freshListKeysActOnRowOne_data();
    void freshListKeysActOnRowOne();
    void keyboardFocusCue();
    void searchWithoutBrowserIsTold();
};

void TestSongCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSongCommands::init()
{
    Test::failOnQtMisuseWarnings();
    boundRequestTimes();
}

void TestSongCommands::buttonsAsDesigned()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    const auto px = [](int twips) { return Twips::toPixels(twips); };
    struct Expected
    {
        QWidget *button;
        QString caption;
        QRect twips;
    };
    const QList<Expected> buttons = {
        {h.button("btnDownload"), QStringLiteral("下载歌曲(&D)"), {7440, 7845, 1215, 345}},
        {h.button("btnSelectAll"), QStringLiteral("全选(&A)"), {8730, 7845, 915, 345}},
        {h.button("btnSelectNone"), QStringLiteral("全不选(&N)"), {9720, 7845, 915, 345}},
        {h.button("btnSelectInvert"), QStringLiteral("反选(&I)"), {10710, 7845, 915, 345}},
        {h.btnCreate(), QStringLiteral("生成列表"), {11700, 7845, 915, 345}},
    };
    for (const Expected &e : buttons) {
        QVERIFY(qobject_cast<zephbutton *>(e.button));
        QCOMPARE(e.button->property("Caption").toString(), e.caption);
        QCOMPARE(e.button->property("ButtonStyle").toInt(), 10);
        QCOMPARE(e.button->geometry(), QRect(px(e.twips.x()), px(e.twips.y()), px(e.twips.width()),
                                             px(e.twips.height())));
    }
    // Tab order: lstXg, btnCreate, btnSelectAll, btnSelectNone, btnSelectInvert, btnDownload.
    QCOMPARE(nextTabStop(h.list()), h.btnCreate());
    QCOMPARE(nextTabStop(h.btnCreate()), h.button("btnSelectAll"));
    QCOMPARE(nextTabStop(h.button("btnSelectAll")), h.button("btnSelectNone"));
    QCOMPARE(nextTabStop(h.button("btnSelectNone")), h.button("btnSelectInvert"));
    QCOMPARE(nextTabStop(h.button("btnSelectInvert")), h.button("btnDownload"));
    // ... and round to the list: the frame buttons are no tab stops.
    QCOMPARE(nextTabStop(h.button("btnDownload")), static_cast<QWidget *>(h.list()));
}

void TestSongCommands::mouse_data()
{
    QTest::addColumn<int>("startRow");     // selected before the click, -1 none
    QTest::addColumn<QString>("where");    // "row 3", "below", "header"
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("selected");     // selected row afterwards
    QTest::addColumn<int>("currentSong");  // afterwards (starts at 1)
    QTest::addColumn<bool>("menu");

    QTest::newRow("left on a row") << -1 << "row 3" << Qt::LeftButton << 3 << 3 << false;
    QTest::newRow("right on a row opens the menu") << 0 << "row 4" << Qt::RightButton << 4 << 4 << true;
    QTest::newRow("left below the rows") << 2 << "below" << Qt::LeftButton << -1 << 2 << false;
    QTest::newRow("right below the rows") << 2 << "below" << Qt::RightButton << -1 << 2 << false;
    QTest::newRow("below with nothing selected") << -1 << "below" << Qt::LeftButton << -1 << 1 << false;
    QTest::newRow("right on the header") << 2 << "header" << Qt::RightButton << 2 << 2 << false;
}

void TestSongCommands::mouse()
{
    QFETCH(int, startRow);
    QFETCH(QString, where);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, selected);
    QFETCH(int, currentSong);
    QFETCH(bool, menu);

    SongWindowHarness h;
    QVERIFY(h.start());
    // Row 1 becomes the current song with nothing selected: a click on it,
    // then one below the rows.
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(1));
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.belowRows());
    QCOMPARE(h.list()->selectedRow(), -1);
    if (startRow >= 0) {
        QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(startRow));
        QCOMPARE(h.currentSong(), startRow);
    }
    QString opened;
    closePopupSoon(&opened);
    if (where == u"header")
        QTest::mouseClick(h.list()->header()->viewport(), button, {}, QPoint(100, 5));
    else if (where == u"below")
        QTest::mouseClick(h.viewport(), button, {}, h.belowRows());
    else
        QTest::mouseClick(h.viewport(), button, {}, h.rowPoint(where.mid(4).toInt()));
    QCOMPARE(h.list()->selectedRow(), selected);
    QCOMPARE(h.currentSong(), currentSong);
    QCoreApplication::processEvents();
    QCOMPARE(opened, menu ? QStringLiteral("右键") : QString());
    QCOMPARE(h.site.totalRequests(), 0);
}

void TestSongCommands::keyboardSelectionThenRightClick()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(0));
    QTest::keyClick(h.list(), Qt::Key_Down);
    QTest::keyClick(h.list(), Qt::Key_Down);
    QCOMPARE(h.list()->selectedRow(), 2);
    QCOMPARE(h.currentSong(), 0); // the keyboard does not move currentSong

    h.catalogue->song(5).title = QStringLiteral("A&B");
    h.catalogue->song(5).singer = QStringLiteral("C");
    QTimer::singleShot(0, [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->close();
    });
    QTest::mouseClick(h.viewport(), Qt::RightButton, {}, h.rowPoint(5));
    QCOMPARE(h.currentSong(), 5);
    Test::formControl<frmMenu>(h.form.get(), "frmMenu")->action(QStringLiteral("mnuSearchBaidu"))->trigger();
    QCOMPARE(h.opener.opened().size(), 1);
    QCOMPARE(h.opener.opened().constFirst().toEncoded(),
             QByteArray("http://www.baidu.com/s?word=A%26B%20C&tn=Lumisong(Tolvane)"));
}

void TestSongCommands::spaceTicksWhicheverColumnWasClicked_data()
{
    QTest::addColumn<int>("column");
    for (int column = 0; column < 7; ++column)
        QTest::addRow("column %d", column) << column;
}

void TestSongCommands::spaceTicksWhicheverColumnWasClicked()
{
    QFETCH(int, column);
    SongWindowHarness h;
    QVERIFY(h.start());
    // In the number column, beside the check box rather than on it.
    const QRect cell = h.list()->visualRect(h.items()->index(3, column));
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 3, cell.center().y()));
    QCOMPARE(h.list()->selectedRow(), 3);
    QVERIFY(!h.items()->isChecked(3));
    QTest::keyClick(h.list(), Qt::Key_Space);
    QVERIFY(h.items()->isChecked(3));
    QTest::keyClick(h.list(), Qt::Key_Space);
    QVERIFY(!h.items()->isChecked(3));
    // Only the selected row changes.
    for (int row = 0; row < h.items()->rowCount(); ++row)
        QVERIFY(!h.items()->isChecked(row));
    QCOMPARE(h.list()->selectedRow(), 3);
}

void TestSongCommands::doubleClickCopiesOnceThenFromCache()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.doubleClick(h.rowPoint(2));
    const QString expected = QString::fromLatin1(h.addressLine(2).chopped(2));
    QTRY_COMPARE(h.clipboard.text(), expected);
    QCOMPARE(h.site.requestCount(h.addressTarget(2)), 1);

    h.clipboard.setText(QStringLiteral("other"));
    h.doubleClick(h.rowPoint(2));
    QCOMPARE(h.clipboard.text(), expected);
    QCOMPARE(h.site.totalRequests(), 1);

    // Below the rows: the selection goes, nothing is copied.
    h.clipboard.setText(QStringLiteral("other"));
    h.doubleClick(h.belowRows());
    QCOMPARE(h.list()->selectedRow(), -1);
    QCOMPARE(h.clipboard.text(), QStringLiteral("other"));
}

void TestSongCommands::doubleClickFailureIsTold()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    ScriptedAnswer failing;
    failing.status = 503;
    h.site.setAnswer(h.addressTarget(1), failing);
    h.clipboard.setText(QStringLiteral("kept"));
    h.doubleClick(h.rowPoint(1));
    QTRY_COMPARE(h.lblInfo()->text(), QStringLiteral("获取下载地址失败，请检查网络..."));
    QCOMPARE(h.clipboard.text(), QStringLiteral("kept"));
    QVERIFY(h.catalogue->song(1).downloadUrl.isEmpty());
}

void TestSongCommands::doubleClickWhileACopyWaits_data()
{
    QTest::addColumn<int>("second"); // the row double-clicked next; -1: the window closes
    QTest::addColumn<int>("copied"); // whose address the clipboard holds at the end; -1: none
    QTest::addColumn<int>("requestsOfRow2");
    QTest::newRow("the same song again") << 2 << 2 << 1;
    QTest::newRow("another song: the last asked for") << 4 << 4 << 1;
    QTest::newRow("the window closes") << -1 << -1 << 1;
}

// Row 3's address is slow to come; meanwhile the list is used again.
void TestSongCommands::doubleClickWhileACopyWaits()
{
    QFETCH(int, second);
    QFETCH(int, copied);
    QFETCH(int, requestsOfRow2);
    SongWindowHarness h;
    QVERIFY(h.start());
    ScriptedAnswer slow;
    slow.body = DemoCatalogue::filePath(h.catalogue->song(2).songId).toLatin1();
    slow.latencyMs = 300;
    h.site.setAnswer(h.addressTarget(2), slow);
    h.clipboard.setText(QStringLiteral("before"));
    h.doubleClick(h.rowPoint(2));
    QTRY_COMPARE(h.site.requestCount(h.addressTarget(2)), 1);
    const int infosBefore = h.infos.size();
    if (second >= 0)
        h.doubleClick(h.rowPoint(second));
    else
        h.form->close();

    if (copied >= 0)
        QTRY_COMPARE(h.clipboard.text(), QString::fromLatin1(h.addressLine(copied).chopped(2)));
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0); // nothing can be copied later
    QCOMPARE(h.clipboard.text(),
             copied >= 0 ? QString::fromLatin1(h.addressLine(copied).chopped(2)) : QStringLiteral("before"));
    QCOMPARE(h.site.requestCount(h.addressTarget(2)), requestsOfRow2);
    QCOMPARE(h.infos.size(), infosBefore); // no failure told
}

void TestSongCommands::selectionButtons()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    const auto ticks = [&h] {
        QString marks;
        for (int row = 0; row < h.items()->rowCount(); ++row)
            marks += h.items()->isChecked(row) ? u'x' : u'.';
        return marks;
    };
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(1));
    h.tick({0, 3});
    QTest::mouseClick(h.button("btnSelectInvert"), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral(".xx.xx"));
    QTest::mouseClick(h.button("btnSelectInvert"), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("x..x.."));
    QTest::mouseClick(h.button("btnSelectAll"), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("xxxxxx"));
    QTest::mouseClick(h.button("btnSelectNone"), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("......"));
    // Selection and currentSong stay.
    QCOMPARE(h.list()->selectedRow(), 1);
    QCOMPARE(h.currentSong(), 1);
    QCOMPARE(h.site.totalRequests(), 0);
}

// The skinned buttons by keyboard on the real window: their access keys with
// Alt, and Space on the focused button.
void TestSongCommands::buttonsByKeyboard()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    const auto ticks = [&h] {
        QString marks;
        for (int row = 0; row < h.items()->rowCount(); ++row)
            marks += h.items()->isChecked(row) ? u'x' : u'.';
        return marks;
    };
    QTest::keyClick(h.form.get(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("xxxxxx"));
    QTest::keyClick(h.form.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("......"));
    h.tick({1});
    QTest::keyClick(h.form.get(), Qt::Key_I, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("x.xxxx"));

    // Space on the focused "生成列表" runs the list file on its release; the
    // button looks and reports disabled for the whole run.
    QList<bool> enabledDuringRun;
    h.onEachRequest([&] { enabledDuringRun << h.btnCreate()->property("Enabled").toBool(); });
    const QString path = h.dir.filePath(QStringLiteral("keys.lst"));
    h.saveDialog.queueAnswer(path);
    h.btnCreate()->setFocus(Qt::TabFocusReason);
    QTest::keyPress(h.btnCreate(), Qt::Key_Space);
    QCOMPARE(h.saveDialog.requests().size(), 0);
    QTest::keyRelease(h.btnCreate(), Qt::Key_Space);
    QVERIFY(h.waitForCreate());
    QCOMPARE(readAll(path), h.addressLine(0) + h.addressLine(2) + h.addressLine(3) + h.addressLine(4)
                                + h.addressLine(5) + "//By Tolvane\r\n");
    QCOMPARE(enabledDuringRun, QList<bool>(5, false));
    QVERIFY(h.btnCreate()->property("Enabled").toBool());
}

QTEST_MAIN(TestSongCommands)
void TestSongCommands::menuKeyOpensTheRowMenu_data()
{
    QTest::addColumn<bool>("menuKey"); // the menu key, else Shift+F10
    QTest::addColumn<bool>("loaded");  // the list has its rows
    QTest::newRow("Shift+F10 on a row") << false << true;
    QTest::newRow("menu key on a row") << true << true;
    QTest::newRow("Shift+F10 on an empty list") << false << false;
    QTest::newRow("menu key on an empty list") << true << false;
}

void TestSongCommands::menuKeyOpensTheRowMenu()
{
    QFETCH(bool, menuKey);
    QFETCH(bool, loaded);
    SongWindowHarness h;
    if (loaded) {
        QVERIFY(h.start());
    } else {
        h.form = std::make_unique<frmMain>(frmMain::Environment{});
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    }
    h.list()->setFocus();
    if (loaded) {
        h.list()->selectRow(0);
        QTest::keyClick(h.list(), Qt::Key_Down); // the keyboard moves on to slot 1
    }
    QString opened;
    QPoint openedAt;
    QTimer::singleShot(0, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            opened = menu->title();
            openedAt = menu->pos();
            menu->close();
        }
    });
    if (menuKey) {
        // Desktops turn the key into a keyboard context-menu event.
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
        QApplication::sendEvent(h.list(), &event);
    } else {
        QTest::keyClick(h.list(), Qt::Key_F10, Qt::ShiftModifier);
    }
    QCoreApplication::processEvents();
    QCOMPARE(opened, loaded ? QStringLiteral("右键") : QString());
    if (!loaded)
        return;
    QCOMPARE(h.currentSong(), 1);
    QCOMPARE(h.list()->selectedRow(), 1);
    // At the row, not where the pointer happens to be.
    const QRect row = h.list()->visualRect(h.items()->index(1, 0));
    QCOMPARE(h.viewport()->mapFromGlobal(openedAt).y(), row.bottom() + 1);
}

void TestSongCommands::freshListKeysActOnRowOne_data()
{
    QTest::addColumn<bool>("space"); // Space, else Shift+F10
    QTest::newRow("Space ticks row 1") << true;
    QTest::newRow("Shift+F10 opens the menu of row 1") << false;
}

// Once the list has filled, its first row is current, neither selected nor
// ticked, so the keys act on it without a Down or Home first.
void TestSongCommands::freshListKeysActOnRowOne()
{
    QFETCH(bool, space);
    SongWindowHarness h;
    QVERIFY(h.start());
    QCOMPARE(h.list()->currentIndex().row(), 0);
    QCOMPARE(h.list()->selectedRow(), -1);
    QVERIFY(!h.items()->isChecked(0));
    if (space) {
        QTest::keyClick(h.list(), Qt::Key_Space);
        QVERIFY(h.items()->isChecked(0));
        QVERIFY(!h.items()->isChecked(1));
        return;
    }
    QString opened;
    closePopupSoon(&opened);
    QTest::keyClick(h.list(), Qt::Key_F10, Qt::ShiftModifier);
    QCoreApplication::processEvents();
    QCOMPARE(opened, QStringLiteral("右键"));
    QCOMPARE(h.currentSong(), 0);
}

// Tab shows where the keys went: a one-pixel dotted rectangle inside the
// edge of the focused button, and the list's selection in the inactive
// colours. The next mouse click hides the rectangle again.
void TestSongCommands::keyboardFocusCue()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    h.list()->setFocus();
    h.list()->selectRow(0);
    zephbutton *create = h.btnCreate();
    const QRect lastCell = h.list()->visualRect(h.items()->index(0, 6));
    const QPoint rowPixel(lastCell.right() - 2, lastCell.center().y());
    const auto rowColour = [&] { return h.viewport()->grab().toImage().pixelColor(rowPixel); };
    const QPalette palette = h.list()->palette();
    // The style shades its selection a little.
    const auto near = [](const QColor &a, const QColor &b) {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <= 12;
    };
    QVERIFY(near(rowColour(), palette.color(QPalette::Active, QPalette::Highlight)));
    const QImage unfocused = create->grab().toImage();

    QTest::keyClick(h.list(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), create);
    const QImage cue = create->grab().toImage();
    const int W = cue.width();
    const int H = cue.height();
    int inverted = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const QRgb before = unfocused.pixel(x, y);
            const QRgb after = cue.pixel(x, y);
            const bool onOutline = (x == 1 || x == W - 2) ? (y >= 1 && y <= H - 2)
                                   : (y == 1 || y == H - 2) && x >= 1 && x <= W - 2;
            if (onOutline && (x + y) % 2 == 0) {
                QCOMPARE(qRgb(qRed(after), qGreen(after), qBlue(after)),
                         qRgb(255 - qRed(before), 255 - qGreen(before), 255 - qBlue(before)));
                ++inverted;
            } else {
                QCOMPARE(after, before);
            }
        }
    }
    QVERIFY(inverted > W);
    QVERIFY(near(rowColour(), palette.color(QPalette::Active, QPalette::Button)));

    // A click that takes no focus (the title) leaves the keys on the button, without the cue.
    QTest::mouseClick(Test::formControl<QLabel>(h.form.get(), "lblTitle"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), create);
    QCOMPARE(create->grab().toImage(), unfocused);
}

void TestSongCommands::searchWithoutBrowserIsTold()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.opener.setNoBrowser(true);
    Test::formControl<frmMenu>(h.form.get(), "frmMenu")->action(QStringLiteral("mnuSearchBaidu"))->trigger();
    QCOMPARE(h.messageBox.shown().size(), 1);
    const QString text = h.messageBox.shown().constFirst().text;
    QVERIFY2(text.startsWith(QStringLiteral("无法打开浏览器：http://www.baidu.com/s?word=")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("&tn=Lumisong(Tolvane)")), qPrintable(text));
}

#include "tst_songcommands.moc"
