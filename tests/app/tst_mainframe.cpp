#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "net/fetchlimits.h"
#include "controls/button/buttonenums.h"
#include "controls/button/tooltipwindow.h"
#include "controls/button/zephbutton.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "platform/ui/imagebox.h"
#include "tests/support/modalwatchdog.h"
#include "tests/support/requestsunderway.h"
#include "tests/support/recordingshellopener.h"
#include "tests/support/scriptedmessagebox.h"
#include "platform/ui/titledrag.h"
#include "tools/demosite/demosite.h"
#include "update/ui/frmupdate.h"
#include "update/remindersetting.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

int px(int twips)
{
    return Twips::toPixels(twips, Twips::screenDpi());
}

// The main window over a demo site of ten songs, with its settings in a
// temporary file, a browser that only records and timers of 1 ms.
struct Harness
{
    QTemporaryDir dir;
    DemoSite site{10};
    ScriptedMessageBox messageBox;
    RecordingShellOpener opener;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(u"Tolvane.ini"_s));
    std::unique_ptr<frmMain> form;
    std::unique_ptr<QSignalSpy> unloaded;
    QStringList infos;

    Harness() { site.listen(); }

    frmMain &create()
    {
        frmMain::Environment env{&messageBox, &settings, nullptr, site.baseUrl(),
                                 site.versionUrl()};
        env.shellOpener = &opener;
        form = std::make_unique<frmMain>(env);
        Test::formControl<QTimer>(form.get(), "Timer1")->setInterval(1);
        Test::formControl<QTimer>(form.get(), "Timer2")->setInterval(1);
        unloaded = std::make_unique<QSignalSpy>(form.get(), &frmMain::unloaded);
        QObject::connect(form.get(), &frmMain::infoChanged,
                         [this](const QString &text) { infos << text; });
        return *form;
    }

    // Starts the chain and runs `answer` on the update dialog once it is up;
    // returns when the chain has come to rest.
    void run(const std::function<void(frmUpdate &)> &answer = {})
    {
        const Test::ModalWatchdog watchdog; // a failed answer closes the dialog
        QTimer watcher;
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<frmUpdate *>(QApplication::activeModalWidget())) {
                watcher.stop();
                if (answer)
                    answer(*dialog);
            }
        });
        watcher.start();
        QVERIFY(form->Form_Load());
        form->show();
        QVERIFY(QTest::qWaitFor(
            [this] {
                return !unloaded->isEmpty() || infos.constLast().startsWith(u"获取新歌列表"_s);
            },
            20000));
    }
};

} // namespace

class tst_MainFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanupTestCase() { closeAllConnections(); }
    void skinnedFrame();
    void frameButtons_data();
    void frameButtons();
    void layoutRule_data();
    void layoutRule();
    void minimiseAndRestore();
    void drag_data();
    void drag();
    void dragContinuesAcrossElements();
    void closeButtonEndsTheProgram_data();
    void closeButtonEndsTheProgram();
    void updateDialog_data();
    void updateDialog();
    void reminderAcrossRuns();
};

void tst_MainFrame::skinnedFrame()
{
    Harness h;
    frmMain &f = h.create();
    QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!f.windowIcon().isNull());
    // The skin's pictures have their designed sizes.
    const std::pair<QWidget *, QSize> skin[] = {{Test::formControl<ImageBox>(&f, "imgTitle"), QSize(29, 29)},
                                                {Test::formControl<ImageBox>(&f, "imgBody"), QSize(79, 79)},
                                                {Test::formControl<ImageBox>(&f, "imgBottom"), QSize(31, 31)}};
    for (const auto &[image, size] : skin)
        QCOMPARE(qobject_cast<ImageBox *>(image)->picture().image.size(), size);

    // Labels and the icon lie above the skin, the bottom strip above the body,
    // the list and the status line above the strips.
    const auto topmostAt = [&f](QWidget *w) { return f.childAt(w->geometry().center()); };
    QCOMPARE(topmostAt(Test::formControl<QLabel>(&f, "lblTitle")), Test::formControl<QLabel>(&f, "lblTitle"));
    QCOMPARE(topmostAt(Test::formControl<ImageBox>(&f, "imgIcon")), Test::formControl<ImageBox>(&f, "imgIcon"));
    QCOMPARE(topmostAt(Test::formControl<zephbutton>(&f, "btClose")), Test::formControl<zephbutton>(&f, "btClose"));
    QCOMPARE(f.childAt(10, f.height() - 3), Test::formControl<ImageBox>(&f, "imgBottom"));
    QCOMPARE(topmostAt(Test::formControl<QLabel>(&f, "lblInfo")), Test::formControl<QLabel>(&f, "lblInfo"));
    QWidget *middle = f.childAt(f.width() / 2, f.height() / 2);
    QVERIFY(middle == Test::formControl<ListView>(&f, "lstXg") || Test::formControl<ListView>(&f, "lstXg")->isAncestorOf(middle));
}

void tst_MainFrame::frameButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tip");
    QTest::newRow("btMin") << u"btMin"_s << u"最小化"_s;
    QTest::newRow("btClose") << u"btClose"_s << u"关闭"_s;
}

// The frame buttons under the mouse on the shown window: the pointer turning
// one hot builds its tooltip; a click does its work and leaves the keys with
// the list, which has them from the start.
void tst_MainFrame::frameButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, tip);
    Harness h;
    frmMain &f = h.create();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QCOMPARE(QApplication::focusWidget(), Test::formControl<ListView>(&f, "lstXg"));
    auto *b = f.findChild<zephbutton *>(button);
    QVERIFY(b && b->isRunMode());

    QTest::mouseMove(b, b->rect().center());
    QTRY_VERIFY(b->findChild<ToolTipWindow *>());
    QCOMPARE(b->findChild<ToolTipWindow *>()->content().text, tip);
    QCOMPARE(b->runtime().state, int(StateHot));

    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(f.focusWidget(), Test::formControl<ListView>(&f, "lstXg"));
    QVERIFY(!b->runtime().hasFocus); // nor does it look focused
    QCOMPARE(!h.unloaded->isEmpty(), button == u"btClose");
    if (button == u"btMin")
        QTRY_VERIFY(f.isMinimized());
}

void tst_MainFrame::layoutRule_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("designed") << QSize(px(12675), px(8235));
    QTest::newRow("smaller") << QSize(500, 300);
    QTest::newRow("lower than both strips") << QSize(300, 40);
}

void tst_MainFrame::layoutRule()
{
    QFETCH(QSize, client);
    Harness h;
    frmMain &f = h.create();
    const QSize listBefore = Test::formControl<ListView>(&f, "lstXg")->size();
    f.setFixedSize(client);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    const int W = client.width();
    const int H = client.height();
    const int title = px(435);
    const int bottom = px(465);
    QCOMPARE(Test::formControl<ImageBox>(&f, "imgTitle")->geometry(), QRect(0, 0, W, title));
    QCOMPARE(Test::formControl<ImageBox>(&f, "imgBottom")->geometry(), QRect(0, H - bottom, W, bottom));
    // The body reaches the bottom edge, under the bottom strip.
    QCOMPARE(Test::formControl<ImageBox>(&f, "imgBody")->geometry(), QRect(0, title, W, H - title));
    // The list keeps its designed corner, leaves the same margin on the right
    // and ends where the body less the bottom strip ends; a height below zero
    // is a step skipped.
    const QPoint corner(px(30), px(480));
    const int listHeight = H - title - bottom;
    QCOMPARE(Test::formControl<ListView>(&f, "lstXg")->pos(), corner);
    QCOMPARE(Test::formControl<ListView>(&f, "lstXg")->width(), W - 2 * corner.x());
    QCOMPARE(Test::formControl<ListView>(&f, "lstXg")->height(), listHeight >= 0 ? listHeight : listBefore.height());
    if (client == QSize(px(12675), px(8235)))
        QCOMPARE(Test::formControl<ListView>(&f, "lstXg")->height(), px(7335));
}

void tst_MainFrame::minimiseAndRestore()
{
    Harness h;
    frmMain &f = h.create();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QList<QRect> laidOut = {Test::formControl<ImageBox>(&f, "imgTitle")->geometry(), Test::formControl<ImageBox>(&f, "imgBody")->geometry(),
                                  Test::formControl<ImageBox>(&f, "imgBottom")->geometry(), Test::formControl<ListView>(&f, "lstXg")->geometry()};
    QTest::mouseClick(Test::formControl<zephbutton>(&f, "btMin"), Qt::LeftButton);
    QTRY_VERIFY(f.isMinimized());
    QVERIFY(h.unloaded->isEmpty());
    f.showNormal();
    QTRY_VERIFY(!f.isMinimized());
    QCOMPARE(f.size(), QSize(px(12675), px(8235)));
    const QList<QRect> again = {Test::formControl<ImageBox>(&f, "imgTitle")->geometry(), Test::formControl<ImageBox>(&f, "imgBody")->geometry(),
                                Test::formControl<ImageBox>(&f, "imgBottom")->geometry(), Test::formControl<ListView>(&f, "lstXg")->geometry()};
    QCOMPARE(again, laidOut);
}

void tst_MainFrame::drag_data()
{
    QTest::addColumn<bool>("byLabel");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("delta");
    QTest::newRow("strip, left") << false << Qt::LeftButton << QPoint(40, 25);
    QTest::newRow("strip, right") << false << Qt::RightButton << QPoint(-30, 10);
    QTest::newRow("strip, middle") << false << Qt::MiddleButton << QPoint(5, -20);
    QTest::newRow("label, left") << true << Qt::LeftButton << QPoint(-15, 35);
    QTest::newRow("label, right") << true << Qt::RightButton << QPoint(60, 0);
    QTest::newRow("label, middle") << true << Qt::MiddleButton << QPoint(0, 45);
}

void tst_MainFrame::drag()
{
    QFETCH(bool, byLabel);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, delta);
    Harness h;
    frmMain &f = h.create();
    f.move(60, 40);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(f.pos(), QPoint(60, 40));

    QWidget *element = byLabel ? static_cast<QWidget *>(Test::formControl<QLabel>(&f, "lblTitle")) : Test::formControl<ImageBox>(&f, "imgTitle");
    const QPoint press = byLabel ? QPoint(10, 5) : QPoint(300, 12);
    QTest::mousePress(element, button, {}, press);
    // No threshold: the window follows every move, the pointer keeps its
    // offset within the element.
    QTest::mouseMove(element, press + delta);
    QTRY_COMPARE(f.pos(), QPoint(60, 40) + delta);
    QTest::mouseRelease(element, button, {}, press);
    // Moves after the release leave the window where it is.
    QTest::mouseMove(element, press + QPoint(50, 50));
    // Whatever the moves still owe the window is delivered now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(f.pos(), QPoint(60, 40) + delta);
    QVERIFY(h.unloaded->isEmpty());
}

void tst_MainFrame::dragContinuesAcrossElements()
{
    Harness h;
    frmMain &f = h.create();
    f.move(100, 100);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(f.pos(), QPoint(100, 100));
    // Pressed on the label, moved over the strip.
    QTest::mousePress(Test::formControl<QLabel>(&f, "lblTitle"), Qt::LeftButton, {}, QPoint(8, 6));
    const QPoint onStrip = Test::formControl<ImageBox>(&f, "imgTitle")->mapFrom(&f, Test::formControl<QLabel>(&f, "lblTitle")->mapTo(&f, QPoint(8, 6)));
    QTest::mouseMove(Test::formControl<ImageBox>(&f, "imgTitle"), onStrip + QPoint(120, 0));
    QTRY_COMPARE(f.pos(), QPoint(220, 100));
    QTest::mouseRelease(Test::formControl<ImageBox>(&f, "imgTitle"), Qt::LeftButton, {}, onStrip + QPoint(120, 0));
    // The release on the strip ends the drag that began on the label.
    QTest::mouseMove(Test::formControl<ImageBox>(&f, "imgTitle"), onStrip);
    // Whatever the moves still owe the window is delivered now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(f.pos(), QPoint(220, 100));
}

void tst_MainFrame::closeButtonEndsTheProgram_data()
{
    QTest::addColumn<QString>("stalled"); // the page the close waits on
    QTest::newRow("during the version check") << u"/version.html"_s;
    QTest::newRow("during the catalogue fetch") << u"/"_s;
}

void tst_MainFrame::closeButtonEndsTheProgram()
{
    QFETCH(QString, stalled);
    Harness h;
    ScriptedAnswer stall;
    stall.stall = true;
    h.site.setAnswer(stalled, stall);
    frmMain &f = h.create();
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (h.site.requestCount(stalled) == 1) {
            closer.stop();
            QTest::mouseClick(Test::formControl<zephbutton>(&f, "btClose"), Qt::LeftButton);
        }
    });
    closer.start();
    QVERIFY(f.Form_Load());
    f.show();
    QTRY_VERIFY_WITH_TIMEOUT(!h.unloaded->isEmpty(), 10000);
    QCOMPARE(h.unloaded->size(), 1);
    QVERIFY(!Test::formControl<QTimer>(&f, "Timer1")->isActive() && !Test::formControl<QTimer>(&f, "Timer2")->isActive());
    // Nothing is fetched after the close: the timers rest and no request is under way.
    QCOMPARE(Test::requestsUnderWay(&f), 0);
    QCOMPARE(h.site.totalRequests(), stalled == u"/" ? 2 : 1);
}

void tst_MainFrame::updateDialog_data()
{
    QTest::addColumn<QString>("answer"); // yes, no, escape
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("stored");

    QTest::newRow("no") << u"no"_s << false << QString();
    QTest::newRow("no, silenced") << u"no"_s << true << u"1.2.0"_s;
    QTest::newRow("escape counts as no") << u"escape"_s << true << u"1.2.0"_s;
    QTest::newRow("yes") << u"yes"_s << false << u"0.9.0"_s;
}

void tst_MainFrame::updateDialog()
{
    QFETCH(QString, answer);
    QFETCH(bool, tick);
    QFETCH(QString, stored);
    Harness h;
    h.site.setAnnouncedVersion(u"1.2.0"_s);
    h.settings.setValue(u"Lumisong"_s, u"VersionNotip"_s, u"0.9.0"_s);
    frmMain &f = h.create();
    f.move(-200, 30); // partly off screen

    QPoint dialogAt;
    bool timersRested = false;
    QString infoWhileOpen;
    h.run([&](frmUpdate &dialog) {
        dialogAt = dialog.pos();
        timersRested = !Test::formControl<QTimer>(&f, "Timer1")->isActive() && !Test::formControl<QTimer>(&f, "Timer2")->isActive();
        infoWhileOpen = Test::formControl<QLabel>(&f, "lblInfo")->text();
        QCOMPARE(dialog.lblUpdate()->text(), u"检测到新版本：1.2.0（当前版本：1.1.0）"_s);
        QCOMPARE(dialog.lblTitle()->text(), u"发现新版本(更新于：2010-04-27)"_s);
        QCOMPARE(dialog.txtNew()->toPlainText(),
                 u"修正了“列表”的显示问题\n增加了生成列表的进度显示"_s);
        if (tick)
            QTest::mouseClick(dialog.lblNoMore(), Qt::LeftButton);
        if (answer == u"yes")
            QTest::mouseClick(dialog.btnOk(), Qt::LeftButton);
        else if (answer == u"no")
            QTest::mouseClick(dialog.btnCancel(), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
    });

    // Centred over the main window: -200 + (845 - 300) / 2, 30 + (549 - 222) / 2, rounded.
    QCOMPARE(dialogAt, QPoint(73, 194));
    QVERIFY(timersRested);
    QCOMPARE(infoWhileOpen, u"正在提示更新..."_s);
    QCOMPARE(ReminderSetting::read(h.settings), stored);
    if (answer == u"yes") {
        QCOMPARE(h.opener.opened(), QList<QUrl>{QUrl(h.site.versionUrl())});
        QCOMPARE(h.unloaded->size(), 1);
        QCOMPARE(h.infos, (QStringList{u"正在检查更新中..."_s, u"正在提示更新..."_s}));
        QVERIFY(!Test::formControl<QTimer>(&f, "Timer2")->isActive());
        QCOMPARE(Test::requestsUnderWay(&f), 0);
        QCOMPARE(h.site.requestCount(u"/"_s), 0);
        return;
    }
    QVERIFY(h.opener.opened().isEmpty());
    QCOMPARE(h.infos,
             (QStringList{u"正在检查更新中..."_s, u"正在提示更新..."_s,
                          u"正在获取新歌列表，请稍候..."_s, u"获取新歌列表完成，共 10 首歌..."_s}));
    QCOMPARE(Test::formControl<ListView>(&f, "lstXg")->items()->rowCount(), 10);
    QVERIFY(QApplication::topLevelWidgets().size() >= 1);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<frmUpdate *>(w)); // the dialog is gone
}

void tst_MainFrame::reminderAcrossRuns()
{
    Harness h;
    h.site.setAnnouncedVersion(u"1.2.0"_s);
    h.create();
    h.run([](frmUpdate &dialog) {
        QTest::mouseClick(dialog.lblNoMore(), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    });
    QCOMPARE(ReminderSetting::read(h.settings), u"1.2.0"_s);

    // The next start with the same version announced goes straight on.
    h.infos.clear();
    h.create();
    bool shown = false;
    h.run([&](frmUpdate &) { shown = true; });
    QVERIFY(!shown); // the version read at load is the one silenced
    QCOMPARE(h.infos.value(1), u"正在获取新歌列表中..."_s);
}

QTEST_MAIN(tst_MainFrame)
#include "tst_mainframe.moc"
