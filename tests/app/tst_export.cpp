#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "catalogue/listformat.h"
#include "tests/app/programrun.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The list file for the given rows (counted from 1) of the demo site.
QByteArray expectedList(const DemoSite &site, const QList<int> &rows)
{
    QByteArray bytes;
    for (const int row : rows)
        bytes += (site.baseUrl() + DemoCatalogue::filePath(site.catalogue().songs().at(row - 1).songId))
                     .toLatin1()
                 + "\r\n";
    return bytes + "//By Tolvane\r\n";
}

QString addressTarget(const DemoSite &site, int row)
{
    return site.addressTarget(site.catalogue().songs().at(row - 1).songId);
}

// The given rows of the demo site as a list of the given kind writes them.
QByteArray expectedAs(ListFormat format, const DemoSite &site, const QList<int> &rows)
{
    std::vector<ListEntry> entries;
    for (const int row : rows) {
        const DemoCatalogue::Song &s = site.catalogue().songs().at(row - 1);
        entries.push_back({row, SongRecord{s.songId, s.album, s.title, s.singer, s.releaseDate,
                                           s.dailyDownloads, s.totalDownloads,
                                           site.baseUrl() + DemoCatalogue::filePath(s.songId)}});
    }
    QString error;
    return ListFormats::encode(format, entries, &error).value_or("<refused>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray idLines(const DemoSite &site, const QList<int> &rows)
{
    QByteArray bytes;
    for (const int row : rows)
        bytes += site.catalogue().songs().at(row - 1).songId.toLatin1() + '\n';
    return bytes;
}

} // namespace

class TestExport final : public QObject
{
    Q_OBJECT

private slots:
    void writesTheChosenRows_data();
    void writesTheChosenRows();
    void failureLeavesTheFileAlone_data();
    void failureLeavesTheFileAlone();
    void sameBytesOverAnyConnectionCount_data();
    void sameBytesOverAnyConnectionCount();
    void archiveTakesOnlyNewSongs();
    void archiveFailures_data();
    void archiveFailures();
};

void TestExport::writesTheChosenRows_data()
{
    QTest::addColumn<int>("songs");
    QTest::addColumn<QStringList>("choice");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("all") << 5 << QStringList{QStringLiteral("--all")} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("rows and ranges in list order")
        << 9 << QStringList{QStringLiteral("--songs"), QStringLiteral("9,1,3-5")}
        << QList<int>{1, 3, 4, 5, 9};
    QTest::newRow("all of an empty catalogue") << 0 << QStringList{QStringLiteral("--all")}
                                               << QList<int>{};
}

void TestExport::writesTheChosenRows()
{
    QFETCH(int, songs);
    QFETCH(QStringList, choice);
    QFETCH(QList<int>, rows);
    DemoSite site(songs);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("百度新歌下载列表.lst"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x')); // replaced as a whole
    old.close();

    const Run run = runLumisong(QStringList{QStringLiteral("--site"), site.baseUrl(),
                                            QStringLiteral("--export"), path}
                                + choice);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("列表成功生成！\n"));
    const QByteArray total = QByteArray::number(rows.size());
    QVERIFY2(run.err.endsWith(QByteArray(total + '/' + total + '\n')), run.err.constData());
    QCOMPARE(readAll(path), expectedList(site, rows));
    QCOMPARE(site.totalRequests(), 1 + rows.size());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestExport::failureLeavesTheFileAlone_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("existing");
    for (const bool existing : {true, false}) {
        const char *suffix = existing ? " (file exists)" : " (no file yet)";
        for (const char *failure : {"row outside", "malformed rows", "catalogue missing",
                                    "address fails", "empty address",
                                    "address fails, four at a time"})
            QTest::addRow("%s%s", failure, suffix) << QString::fromLatin1(failure) << existing;
    }
}

void TestExport::failureLeavesTheFileAlone()
{
    QFETCH(QString, failure);
    QFETCH(bool, existing);
    DemoSite site(6);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.lst"));
    if (existing) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week\r\n");
    }
    QString songs = QStringLiteral("1-6");
    ScriptedAnswer answer;
    if (failure == u"row outside") {
        songs = QStringLiteral("2,7");
    } else if (failure == u"malformed rows") {
        songs = QStringLiteral("1,,2");
    } else if (failure == u"catalogue missing") {
        answer.status = 500;
        site.setAnswer(QStringLiteral("/"), answer);
    } else if (failure.startsWith(u"address fails")) {
        answer.status = 404;
        site.setAnswer(addressTarget(site, 4), answer);
    } else {
        site.setAnswer(addressTarget(site, 4), answer); // empty body
    }
    // One address at a time, unless the row says otherwise: then row 5 is
    // certainly not reached before row 4 has failed.
    const bool oneAtATime = !failure.endsWith(u"at a time");
    QStringList args{QStringLiteral("--site"), site.baseUrl(), QStringLiteral("--export"), path,
                     QStringLiteral("--songs"), songs};
    if (oneAtATime)
        args << QStringLiteral("--connections") << QStringLiteral("1");

    const Run run = runLumisong(args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(run.err.contains("lumisong: "));
    QCOMPARE(readAll(path), existing ? QByteArray("last week\r\n") : QByteArray("<missing>"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), existing ? 1 : 0);
    if ((failure.startsWith(u"address") || failure == u"empty address") && oneAtATime)
        QCOMPARE(site.requestCount(addressTarget(site, 5)), 0); // stopped at once
}

void TestExport::sameBytesOverAnyConnectionCount_data()
{
    QTest::addColumn<QStringList>("option");
    QTest::addColumn<int>("connections");
    QTest::newRow("default") << QStringList{} << 4;
    for (const int n : {1, 2, 4, 16})
        QTest::addRow("--connections %d", n)
            << QStringList{QStringLiteral("--connections"), QString::number(n)} << n;
}

void TestExport::sameBytesOverAnyConnectionCount()
{
    QFETCH(QStringList, option);
    QFETCH(int, connections);
    constexpr int songs = 40;
    DemoSite site(songs);
    site.setLatency(2);
    // Some answers are slow, so that later songs are answered first.
    for (int row = 1; row <= songs; row += 3) {
        ScriptedAnswer slow;
        slow.body = DemoCatalogue::filePath(site.catalogue().songs().at(row - 1).songId).toLatin1();
        slow.latencyMs = 40;
        site.setAnswer(addressTarget(site, row), slow);
    }
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.lst"));

    const Run run = runLumisong(QStringList{QStringLiteral("--site"), site.baseUrl(),
                                            QStringLiteral("--export"), path, QStringLiteral("--all")}
                                + option);
    QCOMPARE(run.exitCode, 0);
    QList<int> rows;
    for (int row = 1; row <= songs; ++row)
        rows << row;
    QCOMPARE(readAll(path), expectedList(site, rows));
    QCOMPARE(site.totalRequests(), 1 + songs); // each once, the page included
    QVERIFY2(site.mostConnectionsOpen() <= connections,
             qPrintable(QString::number(site.mostConnectionsOpen())));
    if (connections > 1)
        QVERIFY(site.mostConnectionsOpen() > 1); // the addresses were asked for side by side
}

// Run after run against a page that grows: each run writes only the songs
// the archive does not list yet, and adds them to it.
void TestExport::archiveTakesOnlyNewSongs()
{
    DemoSite site(4);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("new.txt"));
    const QString archive = dir.filePath(QStringLiteral("exported.txt"));
    const auto exportNew = [&](const QString &songs) {
        QStringList args{QStringLiteral("--site"), site.baseUrl(), QStringLiteral("--export"), list,
                         QStringLiteral("--format"), QStringLiteral("urls"),
                         QStringLiteral("--archive"), archive};
        args << (songs.isEmpty() ? QStringList{QStringLiteral("--all")}
                                 : QStringList{QStringLiteral("--songs"), songs});
        return runLumisong(args);
    };

    Run run = exportNew(QStringLiteral("1,3")); // a missing archive is an empty one
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readAll(list), expectedAs(ListFormat::Urls, site, {1, 3}));
    QCOMPARE(readAll(archive), idLines(site, {1, 3}));

    site.setSongCount(7); // the same four songs, then three new ones
    site.resetCounters();
    run = exportNew(QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("列表成功生成！\n"));
    QCOMPARE(readAll(list), expectedAs(ListFormat::Urls, site, {2, 4, 5, 6, 7}));
    QCOMPARE(readAll(archive), idLines(site, {1, 3, 2, 4, 5, 6, 7}));
    QCOMPARE(site.totalRequests(), 1 + 5); // no address asked for an archived song

    site.resetCounters();
    run = exportNew(QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("没有新的歌曲。\n"));
    QCOMPARE(readAll(list), expectedAs(ListFormat::Urls, site, {2, 4, 5, 6, 7})); // not written
    QCOMPARE(readAll(archive), idLines(site, {1, 3, 2, 4, 5, 6, 7}));
    QCOMPARE(site.totalRequests(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestExport::archiveFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("address fails") << QStringLiteral("address fails");
    QTest::newRow("archive is a folder") << QStringLiteral("archive is a folder");
    QTest::newRow("archive in a missing folder") << QStringLiteral("archive in a missing folder");
    QTest::newRow("list in a missing folder") << QStringLiteral("list in a missing folder");
}

// A failed run changes neither file.
void TestExport::archiveFailures()
{
    QFETCH(QString, failure);
    DemoSite site(5);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("new.lst"));
    QString archive = dir.filePath(QStringLiteral("exported.txt"));
    writeFile(list, "last week\r\n");
    writeFile(archive, idLines(site, {1}));
    int requestsExpected = -1;
    if (failure == u"address fails") {
        ScriptedAnswer notFound;
        notFound.status = 404;
        site.setAnswer(addressTarget(site, 4), notFound);
    } else if (failure == u"archive is a folder") {
        archive = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        requestsExpected = 0; // read before the page is asked for
    } else if (failure == u"archive in a missing folder") {
        archive = dir.filePath(QStringLiteral("missing/exported.txt"));
        requestsExpected = 1; // the page only
    } else {
        list = dir.filePath(QStringLiteral("missing/new.lst"));
        requestsExpected = 1;
    }
    const Run run = runLumisong({QStringLiteral("--site"), site.baseUrl(), QStringLiteral("--export"),
                                 list, QStringLiteral("--all"), QStringLiteral("--archive"), archive});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(run.err.contains("lumisong: "));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("new.lst"))), QByteArray("last week\r\n"));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("exported.txt"))), idLines(site, {1}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
             failure == u"archive is a folder" ? 3 : 2);
    if (requestsExpected >= 0)
        QCOMPARE(site.totalRequests(), requestsExpected);
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
