#include "tests/support/qtwarnings.h"
#include "tests/support/loadnow.h"
#include "catalogue/addressresolver.h"
#include "catalogue/catalogue.h"
#include "catalogue/listfilerun.h"
#include "net/fetchlimits.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>
#include <vector>

#include "tests/catalogue/filebytes.h"
#include "tests/support/requestsunderway.h"

using namespace Lumisong;
using FileBytes::readAll;

namespace {

ScriptedAnswer textAnswer(const QByteArray &body, int status = 200)
{
    ScriptedAnswer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

// Asks for one address and stores it, as the copy commands do; waits.
bool resolveNow(Catalogue &catalogue, int slot)
{
    AddressResolver resolver(catalogue);
    std::optional<AddressResult> answer;
    QEventLoop loop;
    QObject::connect(&resolver, &AddressResolver::resolved, &loop, [&](const AddressResult &r) {
        answer = r;
        loop.quit();
    });
    if (!resolver.resolveAddress(slot))
        return false;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    if (!answer || !answer->ok)
        return false;
    catalogue.song(slot).downloadUrl = answer->downloadUrl;
    return true;
}

// Runs a list-file run to its end (at most 20 s), recording its progress.
ListFileRun::Outcome runNow(ListFileRun &run, const QString &path, QList<int> *progress = nullptr)
{
    if (progress)
        QObject::connect(&run, &ListFileRun::progress, &run, [progress](int n) { *progress << n; });
    std::optional<ListFileRun::Outcome> outcome;
    QObject::connect(&run, &ListFileRun::finished, &run,
                     [&outcome](ListFileRun::Outcome end) { outcome = end; });
    run.start(path);
    if (!QTest::qWaitFor([&outcome] { return outcome.has_value(); }, 20000))
        return ListFileRun::Outcome::Aborted; // no end in time
    return *outcome;
}

// What the program's callers ask for at a time unless told otherwise.
constexpr int Streams = 32;
constexpr ListFileRun::Parallelism Parallel{4, Streams};

QByteArray listOf(const Catalogue &catalogue, const QList<int> &rows)
{
    QByteArray bytes;
    for (const int slot : rows)
        bytes += catalogue.siteBase().toLatin1()
                 + DemoCatalogue::filePath(catalogue.song(slot).songId).toLatin1() + "\r\n";
    return bytes + "//By Tolvane\r\n";
}

} // namespace

class TestListFileRun final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void resolveAnswer_data();
    void resolveAnswer();
    void failedResolutionKeepsKnownAddress();
    void noPrefixOnThePageMeansNoRequest();
    void writesTickedRowsInListOrder();
    void reRequestsCachedAddresses();
    void noTickedRows();
    void ticksChangedDuringTheRun();
    void failingAddressLeavesTargetUntouched();
    void unwritableTargetFailsBeforeAnyRequest();
    void sameBytesForAnyParallelism_data();
    void sameBytesForAnyParallelism();
    void failureWithRequestsInFlight();
    void serverClosingKeptAliveConnections_data();
    void serverClosingKeptAliveConnections();
    void abortStopsEverything();

private:
    // A site of `songs` songs whose every third address answer is slow, so
    // that answers come out of list order; the catalogue is loaded from it.
    void useBiggerSite(int songs, int slowMs);

    std::unique_ptr<DemoSite> m_site;
    std::unique_ptr<Catalogue> m_catalogue;
    QTemporaryDir m_dir;
};

void TestListFileRun::init()
{
    Test::failOnQtMisuseWarnings();
    FetchLimits limits;
    limits.idleTimeoutMs = 3000;
    limits.totalTimeoutMs = 5000;
    setFetchLimits(limits);
    m_site = std::make_unique<DemoSite>(6);
    QVERIFY(m_site->listen());
    m_catalogue = std::make_unique<Catalogue>(m_site->baseUrl());
    QCOMPARE(Test::loadNow(*m_catalogue).count, 6);
    m_site->resetCounters();
}

void TestListFileRun::resolveAnswer_data()
{
    QTest::addColumn<ScriptedAnswer>("answer");
    QTest::addColumn<QString>("address"); // appended to the site base; empty: failed

    QTest::newRow("plain") << textAnswer("/files/a.mp3") << QStringLiteral("/files/a.mp3");
    QTest::newRow("trailing CR LF dropped") << textAnswer("/files/a.mp3\r\n") << QStringLiteral("/files/a.mp3");
    QTest::newRow("blanks around dropped") << textAnswer("  /files/a.mp3\t\n") << QStringLiteral("/files/a.mp3");
    QTest::newRow("empty answer") << textAnswer("") << QString();
    QTest::newRow("only a line break") << textAnswer("\r\n") << QString();
    QTest::newRow("two lines") << textAnswer("/files/a.mp3\r\n/files/b.mp3") << QString();
    QTest::newRow("GBK text kept") << textAnswer("/files/\xD6\xD0\x81\x40.mp3")
                                   << QStringLiteral("/files/中丂.mp3");
    QTest::newRow("bytes that are no GBK text") << textAnswer("/files/a\x81\x20" "b.mp3") << QString();
    QTest::newRow("not found") << textAnswer("/files/a.mp3", 404) << QString();
    ScriptedAnswer hangUp;
    hangUp.closeWithoutAnswer = true;
    QTest::newRow("no answer") << hangUp << QString();
}

void TestListFileRun::resolveAnswer()
{
    QFETCH(ScriptedAnswer, answer);
    QFETCH(QString, address);
    const QString target = m_site->addressTarget(m_catalogue->song(2).songId);
    m_site->setAnswer(target, answer);

    QCOMPARE(resolveNow(*m_catalogue, 2), !address.isEmpty());
    // One request; once more when the kept-alive connection it went on was
    // closed without an answer.
    QVERIFY(m_site->requestCount(target) >= 1 && m_site->requestCount(target) <= 2);
    QCOMPARE(m_catalogue->song(2).downloadUrl,
             address.isEmpty() ? QString() : m_catalogue->siteBase() + address);
}

void TestListFileRun::failedResolutionKeepsKnownAddress()
{
    QVERIFY(resolveNow(*m_catalogue, 0));
    const QString known = m_catalogue->song(0).downloadUrl;
    m_site->setAnswer(m_site->addressTarget(m_catalogue->song(0).songId), textAnswer(""));
    QVERIFY(!resolveNow(*m_catalogue, 0));
    QCOMPARE(m_catalogue->song(0).downloadUrl, known);
    AddressResolver resolver(*m_catalogue);
    QVERIFY(!resolver.resolveAddress(-1));
    QVERIFY(!resolver.resolveAddress(6)); // past the loaded rows
    QCOMPARE(resolver.inFlight(), 0);
}

void TestListFileRun::noPrefixOnThePageMeansNoRequest()
{
    m_site->setAnswer(QStringLiteral("/"),
                      textAnswer(DemoCatalogue::toGbk(QStringLiteral(
                          "Data.Nlist.store = [{sid:'9',ti:'无前缀'}];"))));
    Catalogue catalogue(m_site->baseUrl());
    QCOMPARE(Test::loadNow(catalogue).count, 1);
    m_site->resetCounters();
    AddressResolver resolver(catalogue);
    QVERIFY(!resolver.resolveAddress(0));
    QVERIFY(!resolveNow(catalogue, 0));
    QCOMPARE(m_site->totalRequests(), 0);
    QVERIFY(catalogue.song(0).downloadUrl.isEmpty());
}

void TestListFileRun::writesTickedRowsInListOrder()
{
    // Ticked in the order 5, 1, 3: written 1, 3, 5.
    std::vector<bool> ticks(6, false);
    for (const int slot : {4, 0, 2})
        ticks[size_t(slot)] = true;
    const QString path = m_dir.filePath(QStringLiteral("order.lst"));
    ListFileRun run(*m_catalogue, [&ticks](int slot) { return ticks[size_t(slot)]; }, Parallel);
    QCOMPARE(run.countTicked(), 3);
    QList<int> started;
    QCOMPARE(runNow(run, path, &started), ListFileRun::Outcome::Written);
    QCOMPARE(started, (QList<int>{0, 1, 2}));
    QCOMPARE(readAll(path), listOf(*m_catalogue, {0, 2, 4}));
}

void TestListFileRun::reRequestsCachedAddresses()
{
    QVERIFY(resolveNow(*m_catalogue, 1));
    const QString target = m_site->addressTarget(m_catalogue->song(1).songId);
    m_site->setAnswer(target, textAnswer("/files/fresh.mp3"));
    ListFileRun run(*m_catalogue, [](int slot) { return slot == 1; }, Parallel);
    const QString path = m_dir.filePath(QStringLiteral("fresh.lst"));
    QCOMPARE(runNow(run, path), ListFileRun::Outcome::Written);
    QCOMPARE(m_site->requestCount(target), 2);
    QCOMPARE(m_catalogue->song(1).downloadUrl, QString(m_site->baseUrl() + u"/files/fresh.mp3"));
    QCOMPARE(readAll(path), m_site->baseUrl().toLatin1() + "/files/fresh.mp3\r\n//By Tolvane\r\n");
}

void TestListFileRun::noTickedRows()
{
    ListFileRun run(*m_catalogue, [](int) { return false; }, Parallel);
    QCOMPARE(run.countTicked(), 0);
    const QString path = m_dir.filePath(QStringLiteral("empty.lst"));
    QList<int> started;
    QCOMPARE(runNow(run, path, &started), ListFileRun::Outcome::Written);
    QVERIFY(started.isEmpty());
    QCOMPARE(m_site->totalRequests(), 0);
    QCOMPARE(readAll(path), QByteArray("//By Tolvane\r\n"));
}

void TestListFileRun::ticksChangedDuringTheRun()
{
    std::vector<bool> ticks{true, false, true, false, false, true};
    ListFileRun run(*m_catalogue, [&ticks](int slot) { return ticks[size_t(slot)]; }, Parallel);
    QCOMPARE(run.countTicked(), 3);
    // While the first song is resolved the user unticks row 3 and ticks row 4;
    // a change behind the pass (row 1) no longer matters.
    const QString path = m_dir.filePath(QStringLiteral("changed.lst"));
    QList<int> started;
    QObject::connect(&run, &ListFileRun::progress, &run, [&ticks](int finished) {
        if (finished == 0)
            ticks = {false, false, false, true, false, true};
    });
    QCOMPARE(runNow(run, path, &started), ListFileRun::Outcome::Written);
    QCOMPARE(started, (QList<int>{0, 1, 2}));
    QCOMPARE(readAll(path), listOf(*m_catalogue, {0, 3, 5}));
}

void TestListFileRun::failingAddressLeavesTargetUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.lst"));
    FileBytes::write(path, "the list of last week\r\n");
    m_site->setAnswer(m_site->addressTarget(m_catalogue->song(3).songId), textAnswer("", 500));
    // One song at a time: the failure is met in list order.
    ListFileRun run(*m_catalogue, [](int) { return true; }, {1, Streams});
    QList<int> started;
    QCOMPARE(runNow(run, path, &started), ListFileRun::Outcome::ResolveFailed);
    QVERIFY2(run.errorString().contains(u"row 4 "), qPrintable(run.errorString()));
    QCOMPARE(started, (QList<int>{0, 1, 2, 3})); // stopped at once
    QCOMPARE(m_site->requestCount(m_site->addressTarget(m_catalogue->song(4).songId)), 0);
    QCOMPARE(readAll(path), QByteArray("the list of last week\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.lst")});
}

void TestListFileRun::unwritableTargetFailsBeforeAnyRequest()
{
    ListFileRun run(*m_catalogue, [](int) { return true; }, Parallel);
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/list.lst"));
    QCOMPARE(runNow(run, path), ListFileRun::Outcome::WriteFailed);
    QVERIFY(!run.errorString().isEmpty());
    QCOMPARE(m_site->totalRequests(), 0);
}

void TestListFileRun::useBiggerSite(int songs, int slowMs)
{
    m_site = std::make_unique<DemoSite>(songs);
    QVERIFY(m_site->listen());
    for (int slot = 0; slot < songs; slot += 3) {
        const QString songId = m_site->catalogue().songs().at(slot).songId;
        ScriptedAnswer slow = textAnswer(DemoCatalogue::filePath(songId).toLatin1());
        slow.latencyMs = slowMs;
        m_site->setAnswer(m_site->addressTarget(songId), slow);
    }
    m_catalogue = std::make_unique<Catalogue>(m_site->baseUrl());
    QCOMPARE(Test::loadNow(*m_catalogue).count, songs);
    m_site->resetCounters();
}

void TestListFileRun::sameBytesForAnyParallelism_data()
{
    QTest::addColumn<int>("parallel");
    for (const int n : {1, 2, 4, 16})
        QTest::addRow("%d at a time", n) << n;
}

void TestListFileRun::sameBytesForAnyParallelism()
{
    QFETCH(int, parallel);
    FetchLimits limits = fetchLimits();
    limits.connectionsPerSite = parallel; // as many connections as requests at a time
    setFetchLimits(limits);
    useBiggerSite(40, 15);
    // Some songs are known already (and stale), some not; rows 5, 6 and 7 are not ticked.
    for (const int slot : {0, 1, 9, 20, 39})
        m_catalogue->song(slot).downloadUrl = QStringLiteral("http://old.example/stale.mp3");
    QList<int> rows;
    for (int slot = 0; slot < 40; ++slot) {
        if (slot < 5 || slot > 7)
            rows << slot;
    }
    ListFileRun run(*m_catalogue, [&rows](int slot) { return rows.contains(slot); },
                    {parallel, Streams});
    const QString path = m_dir.filePath(QStringLiteral("parallel.lst"));
    QList<int> started;
    QCOMPARE(runNow(run, path, &started), ListFileRun::Outcome::Written);

    QCOMPARE(readAll(path), listOf(*m_catalogue, rows));
    QList<int> expectedProgress;
    for (int k = 0; k < rows.size(); ++k)
        expectedProgress << k;
    QCOMPARE(started, expectedProgress); // in list order, every number once
    QCOMPARE(m_site->totalRequests(), int(rows.size())); // cached songs asked again, none twice
    QVERIFY2(m_site->mostConnectionsOpen() <= parallel,
             qPrintable(QString::number(m_site->mostConnectionsOpen())));
    if (parallel > 1)
        QVERIFY(m_site->mostConnectionsOpen() > 1);
    QVERIFY(m_catalogue->song(6).downloadUrl.isEmpty()); // not ticked
    QCOMPARE(m_catalogue->song(39).downloadUrl,
             m_site->baseUrl() + DemoCatalogue::filePath(m_catalogue->song(39).songId));
}

void TestListFileRun::failureWithRequestsInFlight()
{
    // Twelve songs, four at a time. Rows 1-3 answer at once; row 4 fails after
    // a while; rows from 5 on would answer only after 3 s. When row 4 fails,
    // rows 5-7 are under way and rows 8-12 were never asked for.
    m_site = std::make_unique<DemoSite>(12);
    QVERIFY(m_site->listen());
    m_catalogue = std::make_unique<Catalogue>(m_site->baseUrl());
    QCOMPARE(Test::loadNow(*m_catalogue).count, 12);
    const auto target = [this](int slot) { return m_site->addressTarget(m_catalogue->song(slot).songId); };
    ScriptedAnswer failing = textAnswer("", 500);
    failing.latencyMs = 150;
    m_site->setAnswer(target(3), failing);
    for (int slot = 4; slot < 12; ++slot) {
        ScriptedAnswer slow = textAnswer(DemoCatalogue::filePath(m_catalogue->song(slot).songId).toLatin1());
        slow.latencyMs = 3000;
        m_site->setAnswer(target(slot), slow);
    }
    m_site->resetCounters();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.lst"));
    FileBytes::write(path, "the list of last week\r\n");
    ListFileRun run(*m_catalogue, [](int) { return true; }, {4, Streams});
    QCOMPARE(runNow(run, path), ListFileRun::Outcome::ResolveFailed);
    // It did not wait for the answers under way, and none can start another request.
    QCOMPARE(Test::requestsUnderWay(&run), 0);
    QVERIFY2(run.errorString().contains(u"row 4 "), qPrintable(run.errorString()));
    QCOMPARE(readAll(path), QByteArray("the list of last week\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kept.lst")});

    for (int slot = 0; slot < 7; ++slot)
        QCOMPARE(m_site->requestCount(target(slot)), 1);
    for (int slot = 7; slot < 12; ++slot)
        QCOMPARE(m_site->requestCount(target(slot)), 0);
    // Songs before the failed one took their answers; none after it did.
    for (int slot = 0; slot < 3; ++slot)
        QVERIFY(!m_catalogue->song(slot).downloadUrl.isEmpty());
    for (int slot = 3; slot < 12; ++slot)
        QVERIFY(m_catalogue->song(slot).downloadUrl.isEmpty());
    // The connections of the aborted requests are closed, not left waiting.
    QTRY_VERIFY(m_site->openConnections() <= 1);
}

void TestListFileRun::serverClosingKeptAliveConnections_data()
{
    QTest::addColumn<DemoSite::ConnectionPolicy>("policy");
    QTest::newRow("closes after every answer") << DemoSite::ConnectionPolicy::CloseSilently;
    QTest::newRow("closes under the next request") << DemoSite::ConnectionPolicy::CloseOnSecondRequest;
}

void TestListFileRun::serverClosingKeptAliveConnections()
{
    QFETCH(DemoSite::ConnectionPolicy, policy);
    useBiggerSite(30, 5);
    m_site->setConnectionPolicy(policy);
    ListFileRun run(*m_catalogue, [](int) { return true; }, {4, Streams});
    const QString path = m_dir.filePath(QStringLiteral("closing.lst"));
    QCOMPARE(runNow(run, path), ListFileRun::Outcome::Written);
    QList<int> all;
    for (int slot = 0; slot < 30; ++slot) {
        all << slot;
        // Once, or again each time a kept-alive connection was closed under
        // the request, at most five times more.
        const int asked = m_site->requestCount(m_site->addressTarget(m_catalogue->song(slot).songId));
        QVERIFY2(asked >= 1 && asked <= 6, qPrintable(QString::number(asked)));
    }
    QCOMPARE(readAll(path), listOf(*m_catalogue, all));
    if (policy == DemoSite::ConnectionPolicy::CloseOnSecondRequest)
        QVERIFY(m_site->totalRequests() > 30); // the second tries did happen
}

void TestListFileRun::abortStopsEverything()
{
    useBiggerSite(20, 200);
    const QString path = m_dir.filePath(QStringLiteral("aborted.lst"));
    ListFileRun run(*m_catalogue, [](int) { return true; }, {4, Streams});
    QObject::connect(&run, &ListFileRun::progress, &run, [&run](int finished) {
        if (finished == 2)
            run.abort();
    });
    QCOMPARE(runNow(run, path), ListFileRun::Outcome::Aborted);
    QCOMPARE(Test::requestsUnderWay(&run), 0); // nothing under way, nothing to go on from
    QVERIFY(!QFile::exists(path));
    QCOMPARE(m_site->requestCount(m_site->addressTarget(m_catalogue->song(19).songId)), 0);
    QVERIFY(m_catalogue->song(19).downloadUrl.isEmpty());
}

QTEST_GUILESS_MAIN(TestListFileRun)
#include "tst_listfilerun.moc"
