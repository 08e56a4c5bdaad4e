#include <QAbstractEventDispatcher>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

#include "tests/support/qtwarnings.h"
#include "cli/chosensongs.h"
#include "cli/downloadersend.h"
#include "cli/headlessdownload.h"
#include "cli/headlessexport.h"
#include "cli/headlesslist.h"
#include "cli/headlessupdatecheck.h"
#include "ports.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

// What a stream of a command took, read back from a temporary file.
class Capture
{
public:
    Capture() : m_file(std::tmpfile()) {}
    ~Capture() { std::fclose(m_file); }
    Capture(const Capture &) = delete;
    Capture &operator=(const Capture &) = delete;
    std::FILE *stream() const { return m_file; }
    QByteArray text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        QByteArray bytes;
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, m_file)) > 0;)
            bytes.append(chunk, qsizetype(n));
        return bytes;
    }

private:
    std::FILE *m_file;
};

// The deepest event loop that events are handled in while it samples: a wait
// nested in the test's own loop shows as a depth of 2.
class LoopDepth
{
public:
    LoopDepth()
    {
        m_probe.setInterval(0);
        QObject::connect(&m_probe, &QTimer::timeout, &m_probe, [this] {
            m_deepest = std::max(m_deepest, QThread::currentThread()->loopLevel());
        });
    }
    void sample() { m_probe.start(); }
    int stop()
    {
        m_probe.stop();
        return m_deepest;
    }

private:
    QTimer m_probe;
    int m_deepest = 0;
};

// Runs the event queue until nothing is left in it (a bounded number of rounds).
void drainEvents()
{
    for (int round = 0; round < 100; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents))
            return;
    }
}

// aria2's answer to the first multicall of a run that hands it three songs.
QByteArray threeTaken()
{
    return R"({"jsonrpc":"2.0","id":"lumisong-1","result":)"
           R"([["00000000000000a1"],["00000000000000a2"],["00000000000000a3"]]})";
}

} // namespace

// The headless commands in this process, on the test's event loop: each one
// ends with a single finished() carrying the exit status, its texts on its
// own streams, and, once its songs are chosen, no wait nested in the loop.
class tst_HeadlessCommands final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void endsOnceWithItsStatus_data();
    void endsOnceWithItsStatus();

private:
    std::unique_ptr<HeadlessCommand> command(const QString &kind, const QString &site,
                                             const QString &rpcUrl, const QString &songs,
                                             const QString &archive, std::FILE *out,
                                             std::FILE *err);

    DemoSite m_site{3};
    std::optional<QTemporaryDir> m_dir; // one for each test row
};

void tst_HeadlessCommands::init()
{
    Test::failOnQtMisuseWarnings();
    QVERIFY(m_site.port() != 0 || m_site.listen());
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

std::unique_ptr<HeadlessCommand>
tst_HeadlessCommands::command(const QString &kind, const QString &site, const QString &rpcUrl,
                              const QString &songs, const QString &archive, std::FILE *out,
                              std::FILE *err)
{
    const ChosenSongs::Options chosen{site, songs, archive, 2, 0};
    if (kind == u"export") {
        auto exporter =
            std::make_unique<HeadlessExport>(site, m_dir->filePath(u"list.lst"_s), songs, out, err);
        exporter->setConnections(2);
        exporter->setArchive(archive);
        return exporter;
    }
    if (kind == u"download")
        return std::make_unique<HeadlessDownload>(chosen, m_dir->filePath(u"songs"_s), out, err);
    if (kind == u"send")
        return std::make_unique<DownloaderSend>(chosen, rpcUrl, out, err);
    if (kind == u"list")
        return std::make_unique<HeadlessList>(site, false, out, err);
    return std::make_unique<HeadlessUpdateCheck>(site + u"/version.html"_s, QString(), out, err);
}

void tst_HeadlessCommands::endsOnceWithItsStatus_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("site");    // "up", "down"; "up, aria2 takes them": aria2 answers too
    QTest::addColumn<QString>("songs");   // --songs; null: --all
    QTest::addColumn<bool>("archiveAll"); // an archive that lists every song
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("outLines");
    QTest::addColumn<QByteArray>("said"); // in standard output or standard error

    const QString all;
    QTest::newRow("export") << u"export"_s << u"up"_s << all << false << 0 << 1
                            << QByteArray("列表成功生成！\n");
    QTest::newRow("export, nothing new")
        << u"export"_s << u"up"_s << all << true << 0 << 1 << QByteArray("没有新的歌曲。\n");
    QTest::newRow("export, a row outside the list")
        << u"export"_s << u"up"_s << u"2,7"_s << false << 2 << 0 << QByteArray("--songs");
    QTest::newRow("export, site down")
        << u"export"_s << u"down"_s << all << false << 2 << 0
        << QByteArray("获取新歌列表失败，请检查网络...");
    QTest::newRow("download") << u"download"_s << u"up"_s << all << false << 0 << 3
                              << QByteArray("已下载 3 首歌曲。\n");
    QTest::newRow("download, nothing new")
        << u"download"_s << u"up"_s << all << true << 0 << 0 << QByteArray("没有新的歌曲。\n");
    QTest::newRow("send") << u"send"_s << u"up, aria2 takes them"_s << all << false << 0 << 3
                          << QByteArray("已将 3 首歌曲发送到下载器。\n");
    QTest::newRow("send, aria2 not JSON-RPC")
        << u"send"_s << u"up"_s << all << false << 2 << 0 << QByteArray("not JSON-RPC");
    QTest::newRow("list") << u"list"_s << u"up"_s << all << false << 0 << 3 << QByteArray();
    QTest::newRow("list, site down") << u"list"_s << u"down"_s << all << false << 2 << 0
                                     << QByteArray("获取新歌列表失败，请检查网络...\n");
    QTest::newRow("version check") << u"update"_s << u"up"_s << all << false << 0 << 1
                                   << QByteArray(R"("result": "需要更新")");
    QTest::newRow("version check, site down")
        << u"update"_s << u"down"_s << all << false << 2 << 1 << QByteArray(R"("result": "失败")");
}

void tst_HeadlessCommands::endsOnceWithItsStatus()
{
    QFETCH(QString, kind);
    QFETCH(QString, site);
    QFETCH(QString, songs);
    QFETCH(bool, archiveAll);
    QFETCH(int, status);
    QFETCH(int, outLines);
    QFETCH(QByteArray, said);

    // aria2 is a server of its own: the site's kept-alive connections take no POST.
    DemoSite aria2(1);
    QVERIFY(aria2.listen());
    if (site.endsWith(u"aria2 takes them"))
        aria2.setAnswer(u"/jsonrpc"_s, ScriptedAnswer::withBody(threeTaken()));
    m_site.setAnnouncedVersion(u"9.9.9"_s);
    const QString base =
        site == u"down" ? u"http://127.0.0.1:%1"_s.arg(Test::Ports::freePort()) : m_site.baseUrl();
    QString archive;
    if (archiveAll) {
        archive = m_dir->filePath(u"archive"_s);
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const DemoCatalogue::Song &song : m_site.catalogue().songs())
            file.write(song.songId.toUtf8() + '\n');
    }
    Capture out, err;
    const std::unique_ptr<HeadlessCommand> run = command(
        kind, base, aria2.baseUrl() + u"/jsonrpc"_s, songs, archive, out.stream(), err.stream());
    QSignalSpy finished(run.get(), &HeadlessCommand::finished);
    LoopDepth depth;
    run->start();
    // Once the songs are chosen every wait is the loop's own; before that, the
    // catalogue's load is.
    if (kind == u"update")
        depth.sample();
    else if (auto *chosen = run->findChild<ChosenSongs *>())
        connect(chosen, &ChosenSongs::prepared, this, [&depth] { depth.sample(); });
    if (finished.isEmpty())
        QVERIFY(finished.wait(30000));
    const int deepest = depth.stop();
    const QByteArray outText = out.text();
    const QByteArray errText = err.text();

    // Nothing follows the end: no second end, no late text.
    drainEvents();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), status);
    QCOMPARE(out.text(), outText);
    QCOMPARE(err.text(), errText);

    QCOMPARE(outText.count('\n'), outLines);
    if (!said.isEmpty())
        QVERIFY2(QByteArray(outText + errText).contains(said),
                 QByteArray(outText + errText).constData());
    QVERIFY2(deepest <= 1, qPrintable(u"an event was handled %1 loops deep"_s.arg(deepest)));
}

QTEST_GUILESS_MAIN(tst_HeadlessCommands)
#include "tst_headlesscommands.moc"
