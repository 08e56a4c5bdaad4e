#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include "tests/support/qtwarnings.h"
#include "tests/support/formcontrol.h"
#include "app/songdownloadcommand.h"
#include "controls/progressbar/progressbar.h"
#include "forms/listitemsmodel.h"
#include "tests/app/songwindowharness.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

// The window's "下载歌曲": the folder dialog, the progress bar, the end's
// status line, and Escape or closing during a download.
class TestSongDownloadCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        Test::failOnQtMisuseWarnings();
        boundRequestTimes();
    }
    void downloadsTheTickedSongs();
    void stoppingKeepsTheParts_data();
    void stoppingKeepsTheParts();
};

namespace {

QString fileOf(const SongWindowHarness &h, int slot)
{
    const DemoCatalogue::Song &song = h.site.catalogue().songs().at(slot);
    return song.singer + u" - " + song.title + u".mp3";
}

} // namespace

void TestSongDownloadCommand::downloadsTheTickedSongs()
{
    SongWindowHarness h;
    h.parallelRequests = 1; // one song at a time: the bar's steps are known
    QVERIFY(h.start());
    h.tick({1, 3, 4});
    const QString folder = h.dir.filePath(u"songs"_s);
    QStringList texts;
    QList<int> values; // the bar's share in per cent, at each request
    h.onEachRequest([&] {
        texts << h.process()->text();
        values << h.process()->value() * 100 / h.process()->max();
    });
    h.saveDialog.queueAnswer(folder);
    QTest::mouseClick(h.button("btnDownload"), Qt::LeftButton);
    QVERIFY(!h.button("btnDownload")->isEnabled());
    QTRY_VERIFY(!Test::formControl<SongDownloadCommand>(h.form.get(), "")->isRunning());
    QCOMPARE(h.infos.last(), u"下载完成，共 3 首歌曲。"_s);
    QVERIFY(QFile::exists(QDir(folder).filePath(fileOf(h, 1))));
    QVERIFY(QFile::exists(QDir(folder).filePath(fileOf(h, 3))));
    QCOMPARE(QDir(folder).entryList({u"*.mp3"_s}).size(), 3);
    // Three addresses, then the three files, each asked for once the one before is in.
    QCOMPARE(texts.size(), 6);
    for (int k = 1; k <= 3; ++k)
        QCOMPARE(texts.at(2 + k), u"正在下载第 %1/3 首：%2"_s.arg(k).arg(h.site.catalogue().songs().at(k == 1 ? 1 : k + 1).title));
    QCOMPARE(values.mid(3), (QList<int>{0, 33, 66}));
    QVERIFY(h.button("btnDownload")->isEnabled());
    QVERIFY(!h.process()->isVisible());

    // The next dialog starts in the folder just used; the music folder or home before.
    const QString first = h.saveDialog.requests().at(0).folder;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    QVERIFY(first == music || first == QDir::homePath());
    h.saveDialog.queueAnswer({}); // cancelled: nothing happens
    QTest::mouseClick(h.button("btnDownload"), Qt::LeftButton);
    QCOMPARE(h.saveDialog.requests().at(1).folder, QDir(folder).absolutePath());
    QVERIFY(!Test::formControl<SongDownloadCommand>(h.form.get(), "")->isRunning());
}

void TestSongDownloadCommand::stoppingKeepsTheParts_data()
{
    QTest::addColumn<bool>("byClose"); // else Escape
    QTest::addColumn<bool>("stop");    // the answer to the question
    QTest::newRow("Escape, stop") << false << true;
    QTest::newRow("Escape, go on") << false << false;
    QTest::newRow("close, stop") << true << true;
}

void TestSongDownloadCommand::stoppingKeepsTheParts()
{
    QFETCH(bool, byClose);
    QFETCH(bool, stop);
    SongWindowHarness h;
    QVERIFY(h.start());
    h.tick({0});
    // The file answers with part of its bytes, then keeps the connection silent.
    const QString target = DemoCatalogue::filePath(h.site.catalogue().songs().at(0).songId);
    ScriptedAnswer stalled;
    stalled.stall = true;
    h.site.setAnswer(target, stalled);
    const QString folder = h.dir.filePath(u"songs"_s);
    h.saveDialog.queueAnswer(folder);
    QTest::mouseClick(h.button("btnDownload"), Qt::LeftButton);
    QTRY_COMPARE(h.site.requestCount(target), 1);
    h.messageBox.queueAnswer(stop ? MessageBox::Answer::Yes : MessageBox::Answer::No);
    if (byClose)
        h.form->close();
    else
        QTest::keyClick(h.form.get(), Qt::Key_Escape);
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().at(0).buttons, MessageBox::Buttons::YesNo);
    QCOMPARE(Test::formControl<SongDownloadCommand>(h.form.get(), "")->isRunning(), !stop);
    QVERIFY(QFile::exists(QDir(folder).filePath(fileOf(h, 0) + u".part")));
    if (!stop)
        return;
    QCOMPARE(h.unloads, byClose ? 1 : 0);
    if (!byClose)
        QCOMPARE(h.infos.last(), u"下载已停止。"_s);
}

QTEST_MAIN(TestSongDownloadCommand)
#include "tst_songdownloadcommand.moc"
