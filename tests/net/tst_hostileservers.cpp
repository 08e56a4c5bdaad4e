// Servers that misbehave, at the catalogue page or in the middle of a
// list-file run: the run ends in time, with bounded memory, and a fault never
// reaches the list file (the user's old list stays as it was).
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/fetchnow.h"
#include "net/fetchlimits.h"
#include "net/modgetcode.h"
#include "tests/support/expectedlist.h"
#include "tests/support/hostileserver.h"
#include "tests/support/measuredrun.h"

using namespace Lumisong;
using namespace Lumisong::Test;
using Behaviour = HostileServer::Behaviour;
using Where = HostileServer::Where;

namespace {

const QByteArray OldList = "an older list\r\n//By Tolvane\r\n";
constexpr qint64 MostRssKb = WholeRunMostRssKb;
constexpr qint64 AddressSpaceCap = WholeRunAddressSpaceCap;

} // namespace

class TestHostileServers final : public QObject
{
    Q_OBJECT

private slots:
    void exportEndsSafely_data();
    void exportEndsSafely();
    void stallEndsAtTheSilenceLimit();
};

void TestHostileServers::exportEndsSafely_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<Where>("where");
    QTest::addColumn<bool>("ok"); // the answer is sound after all and the list is written

    const struct
    {
        const char *name;
        Behaviour behaviour;
        bool ok;
    } cases[] = {
        {"endless chunk", Behaviour::EndlessChunk, false},
        {"gzip bomb", Behaviour::GzipBomb, false},
        {"reset in the middle", Behaviour::ResetMidAnswer, false},
        // gzip as a transfer coding is known and decoded: the answer is whole.
        {"Transfer-Encoding gzip, chunked", Behaviour::GzipChunked, true},
        {"unknown transfer coding", Behaviour::UnknownCoding, false},
    };
    for (const auto &c : cases) {
        QTest::addRow("%s at the page", c.name) << c.behaviour << Where::Page << c.ok;
        QTest::addRow("%s at the addresses", c.name) << c.behaviour << Where::Addresses << c.ok;
    }
}

void TestHostileServers::exportEndsSafely()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(Where, where);
    QFETCH(bool, ok);

    HostileServer server(behaviour, where);
    QVERIFY(server.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("songs.lst"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(OldList), OldList.size());
    file.close();

    const MeasuredRun run = MeasuredRun::run(
        QStringLiteral(LUMISONG_BINARY),
        {QStringLiteral("--site"), server.baseUrl(), QStringLiteral("--export"), path,
         QStringLiteral("--all")},
        20000, AddressSpaceCap);
    QVERIFY2(run.maxRssKb < MostRssKb, qPrintable(QStringLiteral("peak memory %1 MiB")
                                                      .arg(run.maxRssKb / 1024)));
    QVERIFY2(!run.timedOut, "the export did not end within 20 s");
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (ok) {
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(file.readAll(), expectedListFile(server.catalogue(), server.baseUrl()));
    } else {
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(file.readAll(), OldList);
    }
}

void TestHostileServers::stallEndsAtTheSilenceLimit()
{
    HostileServer server(Behaviour::Stall, Where::Page);
    QVERIFY(server.listen());
    const FetchLimits saved = fetchLimits();
    FetchLimits limits = saved;
    limits.idleTimeoutMs = 1000;
    setFetchLimits(limits);
    QElapsedTimer clock;
    clock.start();
    const FetchResult result = Test::fetchNow(server.baseUrl() + u'/', QStringLiteral("gb2312"));
    const qint64 ms = clock.elapsed();
    setFetchLimits(saved);
    QVERIFY(!result.ok);
    QVERIFY2(ms >= 900 && ms < 5000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
}

QTEST_GUILESS_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
