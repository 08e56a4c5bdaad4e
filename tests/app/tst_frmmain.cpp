#include <QRegularExpression>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "controls/button/zephbutton.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "net/fetchlimits.h"
#include "catalogue/catalogue.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/twips.h"
#include "tests/support/requestsunderway.h"
#include "tests/support/scriptedmessagebox.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

// A main window with answerable message boxes, settings and lock in a
// temporary folder, and timers sped up to 1 ms.
struct Harness
{
    QTemporaryDir dir;
    ScriptedMessageBox messageBox;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(u"settings.ini"_s));
    SingleInstance instance{u"Lumisong"_s, dir.path()};
    std::unique_ptr<Catalogue> catalogue;
    std::unique_ptr<frmMain> form;
    QStringList infos;

    void create(const QString &site)
    {
        catalogue = std::make_unique<Catalogue>(site);
        frmMain::Environment env{&messageBox, &settings, &instance, site, site + u"/version.html"_s};
        env.catalogue = catalogue.get();
        form = std::make_unique<frmMain>(env);
        Test::formControl<QTimer>(form.get(), "Timer1")->setInterval(1);
        Test::formControl<QTimer>(form.get(), "Timer2")->setInterval(1);
        QObject::connect(form.get(), &frmMain::infoChanged,
                         [this](const QString &text) { infos.append(text); });
    }

    // Runs the load event and waits until the chain has come to rest.
    bool runChain()
    {
        if (!form->Form_Load())
            return false;
        form->show();
        return QTest::qWaitFor([this] { return infos.size() >= 3; }, 20000);
    }
};

// An address on which nothing listens.
QString refusedSite()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return u"http://127.0.0.1:%1"_s.arg(port);
}

ScriptedAnswer answer(int status, const QByteArray &body)
{
    ScriptedAnswer a;
    a.status = status;
    a.body = body;
    return a;
}

} // namespace

class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void designedLayout();
    void rowNumbersLeaveTheNextColumnAlone();
    void statusFlow_data();
    void statusFlow();
    void rowsShowTheCatalogue();
    void headerClickDoesNotSort();
    void loadEventStartsTheChain();
    void secondInstanceIsRefused();
    void unusableLockFolderDoesNotStopTheStart();
    void closingDuringFetchEndsAtOnce();
    void buttonsWorkWhileThePageIsAwaited();
    void cleanupTestCase() { closeAllConnections(); }
};

void tst_frmMain::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_frmMain::designedLayout()
{
    Harness h;
    h.create(refusedSite());
    frmMain &f = *h.form;
    const qreal dpi = Twips::screenDpi();
    const auto px = [dpi](int twips) { return Twips::toPixels(twips, dpi); };

    QCOMPARE(f.windowTitle(), u"Lumisong"_s);
    QCOMPARE(f.size(), QSize(px(12675), px(8235)));

    const ListView *list = Test::formControl<ListView>(&f, "lstXg");
    const QStringList headers = {u"序号"_s,   u"发布日期"_s, u"歌曲名"_s,  u"歌手名"_s,
                                 u"专辑名"_s, u"日下载量"_s, u"总下载量"_s};
    const QList<int> widths = {600, 1200, 2440, 2440, 2440, 1440, 1440};
    QCOMPARE(list->items()->columnHeaders(), headers);
    for (int i = 0; i < widths.size(); ++i)
        QCOMPARE(list->header()->sectionSize(i), px(widths.at(i)));
    QVERIFY(list->items()->checkboxes());
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(!list->rootIsDecorated());
    QCOMPARE(list->pos(), QPoint(px(30), px(480)));
    QCOMPARE(list->items()->rowCount(), 0);

    // The number column shares its 40 pixels between the check box and the
    // row number; two digits must fit beside the box.
    QStyleOptionViewItem cell;
    cell.initFrom(list);
    cell.rect = QRect(0, 0, list->header()->sectionSize(0), 20);
    cell.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QStyle *style = list->style();
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, list);
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, list);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, list) + 1;
    QVERIFY(cell.rect.contains(box));
    QVERIFY(text.x() + margin >= box.x() + box.width());
    QVERIFY(text.width() - 2 * margin >= list->fontMetrics().horizontalAdvance(u"99"_s));

    QCOMPARE(Test::formControl<QLabel>(&f, "lblInfo")->text(), u"准备就绪"_s);
    QCOMPARE(Test::formControl<QLabel>(&f, "lblInfo")->toolTip(), u"状态提示"_s);
    QCOMPARE(Test::formControl<QLabel>(&f, "lblInfo")->pos(), QPoint(px(90), px(7920)));

    for (QTimer *t : {Test::formControl<QTimer>(&f, "Timer1"), Test::formControl<QTimer>(&f, "Timer2")}) {
        QVERIFY(!t->isActive());
        QVERIFY(!t->isSingleShot());
    }
    // The harness speeds the timers up; the design's interval is 1000 ms.
    frmMain designed({&h.messageBox, nullptr, nullptr, refusedSite(), QString()});
    QCOMPARE(Test::formControl<QTimer>(&designed, "Timer1")->interval(), 1000);
    QCOMPARE(Test::formControl<QTimer>(&designed, "Timer2")->interval(), 1000);
}

void tst_frmMain::rowNumbersLeaveTheNextColumnAlone()
{
    Harness h;
    h.create(refusedSite());
    ListView *list = Test::formControl<ListView>(h.form.get(), "lstXg");
    QList<QStringList> rows;
    for (int row = 1; row <= 1000; ++row)
        rows.append({QString::number(row), u"2010-05-04"_s});
    list->items()->appendRows(rows);
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    list->scrollToBottom();
    QCoreApplication::processEvents();

    // Two pixels at the right end of the number column stay the list's
    // background on every row: no digit runs up to the date column.
    const QImage pixels = list->viewport()->grab().toImage();
    const int columnEnd = list->header()->sectionSize(0);
    const QRgb background = pixels.pixel(columnEnd - 1, pixels.height() - 1);
    for (int y = 0; y < list->viewport()->height(); ++y) {
        if (!list->indexAt(QPoint(1, y)).isValid())
            continue;
        for (int x = columnEnd - 2; x < columnEnd; ++x)
            QCOMPARE(pixels.pixel(x, y), background);
    }
}

void tst_frmMain::statusFlow_data()
{
    QTest::addColumn<int>("songs");          // demo site songs; -1: nothing listens
    QTest::addColumn<int>("scriptedStatus"); // 0: the demo page
    QTest::addColumn<QByteArray>("scriptedBody");
    QTest::addColumn<QString>("finalText");
    QTest::addColumn<int>("rows");

    const QString missing = u"获取新歌列表失败，请检查网络..."_s;
    QTest::newRow("no network") << -1 << 0 << QByteArray() << missing << 0;
    QTest::newRow("empty body") << 5 << 200 << QByteArray() << missing << 0;
    QTest::newRow("error status with a body")
        << 5 << 404 << QByteArray("<html>Not Found</html>") << missing << 0;
    QTest::newRow("page without songs")
        << 5 << 200 << QByteArray("<html>no list today</html>") << u"获取新歌列表完成，共 0 首歌..."_s << 0;
    QTest::newRow("zero songs") << 0 << 0 << QByteArray() << u"获取新歌列表完成，共 0 首歌..."_s << 0;
    QTest::newRow("demo page") << 150 << 0 << QByteArray() << u"获取新歌列表完成，共 150 首歌..."_s
                               << 150;
    QTest::newRow("full table") << 1000 << 0 << QByteArray()
                                << u"获取新歌列表完成，共 1000 首歌..."_s << 1000;
    QTest::newRow("more than the table holds")
        << 1001 << 0 << QByteArray()
        << u"获取新歌列表完成，共 1000 首歌（页面上的歌曲多于 1000 首，只载入了前 1000 首）..."_s << 1000;
}

void tst_frmMain::statusFlow()
{
    QFETCH(int, songs);
    QFETCH(int, scriptedStatus);
    QFETCH(QByteArray, scriptedBody);
    QFETCH(QString, finalText);
    QFETCH(int, rows);

    DemoSite site(qMax(songs, 0));
    QString base = refusedSite();
    if (songs >= 0) {
        QVERIFY(site.listen());
        base = site.baseUrl();
        if (scriptedStatus)
            site.setAnswer(u"/"_s, answer(scriptedStatus, scriptedBody));
    }
    Harness h;
    h.create(base);
    QVERIFY(h.runChain());

    const QStringList expected = {u"正在检查更新中..."_s, u"正在获取新歌列表中..."_s, finalText};
    QCOMPARE(h.infos, expected);
    QCOMPARE(Test::formControl<QLabel>(h.form.get(), "lblInfo")->text(), finalText);
    QCOMPARE(Test::formControl<ListView>(h.form.get(), "lstXg")->items()->rowCount(), rows);
    QCOMPARE(h.catalogue->songCount(), rows);
    QVERIFY(!Test::formControl<QTimer>(h.form.get(), "Timer1")->isActive());
    QVERIFY(!Test::formControl<QTimer>(h.form.get(), "Timer2")->isActive());
    if (songs >= 0) {
        QCOMPARE(site.requestCount(u"/"_s), 1);
        // The version page announces the running version: nothing more is asked.
        QCOMPARE(site.requestCount(u"/version.html"_s), 1);
        QCOMPARE(site.totalRequests(), 2);
    }
    // The chain runs once: with both timers at rest and no request under way,
    // nothing can change afterwards.
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0);
    QCOMPARE(h.infos.size(), 3);
    QVERIFY(h.messageBox.shown().isEmpty());
}

void tst_frmMain::rowsShowTheCatalogue()
{
    DemoSite site(150);
    QVERIFY(site.listen());
    Harness h;
    h.create(site.baseUrl());
    QVERIFY(h.runChain());

    const ListItemsModel *items = Test::formControl<ListView>(h.form.get(), "lstXg")->items();
    const QList<DemoCatalogue::Song> &songs = site.catalogue().songs();
    QCOMPARE(items->rowCount(), int(songs.size()));
    for (int row = 0; row < items->rowCount(); ++row) {
        const DemoCatalogue::Song &s = songs.at(row);
        const QStringList expected = {QString::number(row + 1), s.releaseDate,    s.title,
                                      s.singer,                 s.album,          s.dailyDownloads,
                                      s.totalDownloads};
        for (int column = 0; column < expected.size(); ++column)
            QCOMPARE(items->text(row, column), expected.at(column));
        QVERIFY(!items->isChecked(row));
        QCOMPARE(h.catalogue->song(row).songId, s.songId);
    }
    const QModelIndex first = items->index(0, 0);
    QVERIFY(items->flags(first) & Qt::ItemIsUserCheckable);
    QVERIFY(!(items->flags(items->index(0, 1)) & Qt::ItemIsUserCheckable));
    QCOMPARE(items->data(first, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(h.catalogue->hashedUrl(), site.hashedUrl());
}

void tst_frmMain::headerClickDoesNotSort()
{
    DemoSite site(30);
    QVERIFY(site.listen());
    Harness h;
    h.create(site.baseUrl());
    QVERIFY(h.runChain());
    ListView *list = Test::formControl<ListView>(h.form.get(), "lstXg");
    QHeaderView *header = list->header();
    for (int column : {0, 2, 6}) {
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    for (int row = 0; row < list->items()->rowCount(); ++row)
        QCOMPARE(list->model()->index(row, 0).data().toString(), QString::number(row + 1));
}

void tst_frmMain::loadEventStartsTheChain()
{
    Harness h;
    h.settings.setValue(u"Lumisong"_s, u"VersionNoTip"_s, u"1.2.0"_s);
    h.create(refusedSite());
    QVERIFY(h.form->Form_Load());
    QVERIFY(Test::formControl<QTimer>(h.form.get(), "Timer1")->isActive());
    QVERIFY(!Test::formControl<QTimer>(h.form.get(), "Timer2")->isActive());
    QCOMPARE(h.infos, QStringList{u"正在检查更新中..."_s});
}

void tst_frmMain::secondInstanceIsRefused()
{
    DemoSite site(10);
    QVERIFY(site.listen());
    Harness h;
    SingleInstance running(u"Lumisong"_s, h.dir.path());
    QVERIFY(running.tryLock());
    h.create(site.baseUrl());

    QVERIFY(!h.form->Form_Load());
    QCOMPARE(h.messageBox.shown().size(), 1);
    const ScriptedMessageBox::Shown &box = h.messageBox.shown().constFirst();
    QCOMPARE(box.text, u"程序已经在运行中，请勿重复运行！"_s);
    QCOMPARE(box.caption, u"Lumisong"_s);
    QCOMPARE(box.icon, MessageBox::Icon::Information);
    QCOMPARE(box.buttons, MessageBox::Buttons::Ok);

    // Timer1 never started, so the chain cannot begin later.
    QVERIFY(!Test::formControl<QTimer>(h.form.get(), "Timer1")->isActive());
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0);
    QVERIFY(!h.form->isVisible());
    QCOMPARE(Test::formControl<QLabel>(h.form.get(), "lblInfo")->text(), u"准备就绪"_s);
    QCOMPARE(site.totalRequests(), 0);
    QVERIFY(running.isLocked());
}

void tst_frmMain::unusableLockFolderDoesNotStopTheStart()
{
    Harness h;
    SingleInstance unusable(u"Lumisong"_s, h.dir.filePath(u"no/such/folder"_s));
    h.form = std::make_unique<frmMain>(frmMain::Environment{
        &h.messageBox, &h.settings, &unusable, refusedSite(), QString()});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot take the instance lock"_s));
    QVERIFY(h.form->Form_Load());
    QVERIFY(h.messageBox.shown().isEmpty());
    QVERIFY(Test::formControl<QTimer>(h.form.get(), "Timer1")->isActive());
}

void tst_frmMain::closingDuringFetchEndsAtOnce()
{
    DemoSite site(10);
    QVERIFY(site.listen());
    ScriptedAnswer stall;
    stall.stall = true;
    site.setAnswer(u"/"_s, stall);
    Harness h;
    h.create(site.baseUrl());
    QSignalSpy unloaded(h.form.get(), &frmMain::unloaded);

    // Closes the window while the catalogue page is awaited.
    QObject::connect(&site, &DemoSite::requestReceived, h.form.get(), [&] {
        if (site.requestCount(u"/"_s) == 1)
            h.form->close();
    });
    QVERIFY(h.form->Form_Load());
    h.form->show();
    QVERIFY(unloaded.wait(10000));
    // The stalled request ended with the window: no late status line can come.
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0);
    QCOMPARE(unloaded.size(), 1);
    QCOMPARE(Test::formControl<QLabel>(h.form.get(), "lblInfo")->text(), u"正在获取新歌列表中..."_s);
    QCOMPARE(Test::formControl<ListView>(h.form.get(), "lstXg")->items()->rowCount(), 0);
    QVERIFY(!Test::formControl<QTimer>(h.form.get(), "Timer2")->isActive());
}

// A click while the catalogue page is on its way runs its handler at once;
// the page still fills the list afterwards.
void tst_frmMain::buttonsWorkWhileThePageIsAwaited()
{
    DemoSite site(3);
    QVERIFY(site.listen());
    site.setLatency(300);
    Harness h;
    h.create(site.baseUrl());
    QVERIFY(h.form->Form_Load());
    h.form->show();
    QVERIFY(QTest::qWaitFor([&] { return site.requestCount(u"/"_s) == 1; }, 10000));
    QCOMPARE(h.infos.constLast(), u"正在获取新歌列表中..."_s);

    QTest::mouseClick(Test::formControl<zephbutton>(h.form.get(), "btMin"), Qt::LeftButton);
    QVERIFY(h.form->isMinimized());
    QVERIFY(QTest::qWaitFor([&] { return h.infos.size() == 3; }, 10000));
    QCOMPARE(h.infos.constLast(), u"获取新歌列表完成，共 3 首歌..."_s);
    QCOMPARE(Test::formControl<ListView>(h.form.get(), "lstXg")->items()->rowCount(), 3);
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
