#include <QTest>

#include "platform/ui/skinframe.h"
#include "platform/ui/titledrag.h"
#include "platform/ui/windowplacement.h"

using namespace Lumisong;

namespace {

// A borderless window of 400 x 200 with a title strip across its top.
struct Window
{
    QWidget window{nullptr, Qt::Window | Qt::FramelessWindowHint};
    QWidget *strip = new QWidget(&window);

    explicit Window(TitleDrag::Mover mover = TitleDrag::Mover::Own)
    {
        new TitleDrag(&window, strip, mover);
        window.setFixedSize(400, 200);
        strip->setGeometry(0, 0, 400, 30);
        window.move(100, 100);
        window.show();
    }
};

} // namespace

class tst_SkinnedWindow : public QObject
{
    Q_OBJECT

private slots:
    void dragKeepsAGripOnTheScreen_data();
    void dragKeepsAGripOnTheScreen();
    void declinedSystemMoveDragsItself();
    void layoutSkipsWhatCannotBeDone();
    void opensWithItsTitleOnTheScreen_data();
    void opensWithItsTitleOnTheScreen();
};

void tst_SkinnedWindow::dragKeepsAGripOnTheScreen_data()
{
    // Where the pointer goes and where the window ends up, for a screen whose
    // free area ends at (right, bottom); -1 and -2 stand for those ends. The
    // strip, 400 x 30, is pressed at (200, 15) while the window is at (100, 100).
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("within the screen") << QPoint(350, 215) << QPoint(150, 200);
    QTest::newRow("partly off to the left") << QPoint(50, 115) << QPoint(-150, 100);
    QTest::newRow("far right") << QPoint(5000, 115) << QPoint(-1, 100);
    QTest::newRow("far left") << QPoint(-5000, 115) << QPoint(40 - 400, 100);
    QTest::newRow("far up") << QPoint(300, -5000) << QPoint(100, 10 - 30);
    QTest::newRow("far down") << QPoint(300, 5000) << QPoint(100, -2);
    QTest::newRow("far into a corner") << QPoint(-5000, -5000) << QPoint(40 - 400, 10 - 30);
}

void tst_SkinnedWindow::dragKeepsAGripOnTheScreen()
{
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, expected);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.topLeft() == QPoint(0, 0) && area.width() > 600 && area.height() > 400);
    // The grip that stays: 40 pixels of the strip's width, 10 of its height.
    if (expected.x() == -1)
        expected.setX(area.width() - 40);
    if (expected.y() == -2)
        expected.setY(area.height() - 10);
    Window w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QTRY_COMPARE(w.window.pos(), QPoint(100, 100));
    QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(200, 15));
    QTest::mouseMove(w.strip, pointer - w.window.pos());
    QTRY_COMPARE(w.window.pos(), expected);
    QTest::mouseRelease(w.strip, Qt::LeftButton, {}, pointer - w.window.pos());
}

void tst_SkinnedWindow::declinedSystemMoveDragsItself()
{
    // Where the compositor does not take the move over, the drag moves the
    // window itself.
    Window w(TitleDrag::Mover::SystemFirst);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QTRY_COMPARE(w.window.pos(), QPoint(100, 100));
    QTest::mousePress(w.strip, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(w.strip, QPoint(80, 30));
    QTRY_COMPARE(w.window.pos(), QPoint(130, 120));
    QTest::mouseRelease(w.strip, Qt::LeftButton, {}, QPoint(80, 30));
    QTest::mouseMove(w.strip, QPoint(10, 10));
    // Whatever the moves still owe the window is delivered now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(w.window.pos(), QPoint(130, 120));
}

void tst_SkinnedWindow::layoutSkipsWhatCannotBeDone()
{
    QWidget form;
    auto *title = new QWidget(&form);
    auto *body = new QWidget(&form);
    title->setGeometry(0, 0, 10, 29);
    body->setGeometry(0, 30, 10, 50);
    // No bottom strip: the body cannot stop at it and keeps its height; the
    // other steps still run.
    SkinFrame(title, body, nullptr, SkinFrame::Body::StopsAtBottomStrip).layOut(QSize(300, 200));
    QCOMPARE(title->geometry(), QRect(0, 0, 300, 29));
    QCOMPARE(body->geometry(), QRect(0, 29, 300, 50));
    // A client lower than the title strip: no negative body.
    SkinFrame(title, body, nullptr, SkinFrame::Body::ReachesBottomEdge).layOut(QSize(120, 20));
    QCOMPARE(body->geometry(), QRect(0, 29, 120, 50));
    SkinFrame().layOut(QSize(100, 100)); // nothing to lay out
}

QTEST_MAIN(tst_SkinnedWindow)
void tst_SkinnedWindow::opensWithItsTitleOnTheScreen_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("centred");          // WindowPlacement::centred
    QTest::addColumn<QPoint>("wanted");           // for WindowPlacement::within
    QTest::addColumn<QPoint>("within");
    const QSize designed(845, 549);
    QTest::newRow("fits: centred as ever")
        << QRect(0, 0, 1280, 800) << designed << QPoint(217, 125) << QPoint(600, 400) << QPoint(435, 251);
    QTest::newRow("larger than the screen (200 % on 1280 x 800)")
        << QRect(0, 0, 640, 400) << designed << QPoint(0, 0) << QPoint(-206, -150) << QPoint(0, 0);
    QTest::newRow("wider only, area below a panel")
        << QRect(0, 30, 800, 770) << designed << QPoint(0, 140) << QPoint(-10, 900) << QPoint(0, 251);
    QTest::newRow("second screen to the right")
        << QRect(1280, 0, 640, 480) << designed << QPoint(1280, 0) << QPoint(1500, 10) << QPoint(1280, 0);
}

void tst_SkinnedWindow::opensWithItsTitleOnTheScreen()
{
    QFETCH(QRect, available);
    QFETCH(QSize, window);
    QFETCH(QPoint, centred);
    QFETCH(QPoint, wanted);
    QFETCH(QPoint, within);
    QCOMPARE(WindowPlacement::centred(available, window), centred);
    QCOMPARE(WindowPlacement::within(available, window, wanted), within);
    QVERIFY(available.contains(centred));
}

#include "tst_skinnedwindow.moc"
