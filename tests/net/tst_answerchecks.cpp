// Answers that arrive whole but are wrong, and servers that break or refuse:
// the headless commands fail with exit status 2, the user's old list stays
// byte for byte, nothing goes to the downloader, and a broken server or proxy
// is not asked again and again.
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/expectedlist.h"
#include "tests/support/hostileserver.h"
#include "tests/support/measuredrun.h"
#include "tests/support/proxyenvironment.h"

using namespace Lumisong;
using namespace Lumisong::Test;
using Behaviour = HostileServer::Behaviour;
using Where = HostileServer::Where;
using namespace Qt::StringLiterals;

namespace {

const QByteArray OldList = "an older list\r\n//By Tolvane\r\n";
constexpr qint64 MostRssKb = WholeRunMostRssKb;
constexpr qint64 AddressSpaceCap = WholeRunAddressSpaceCap;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The page the server gives, by its name in the table; null: the sound one.
QByteArray pageNamed(const QString &name, const QByteArray &sound)
{
    if (name == u"no array")
        return DemoCatalogue::toGbk(u"<html><body>系统维护中，请稍后再来。</body></html>"_s);
    if (name == u"cut in the array") // a close-delimited page whose connection dropped
        return sound.left(sound.indexOf("},{", sound.indexOf("Data.Nlist.store = [")) + 1);
    if (name == u"15 MiB of junk")
        return QByteArray(15 << 20, 'j');
    if (name == u"empty array") {
        const qsizetype start = sound.indexOf("Data.Nlist.store = [") + 20;
        return sound.left(start) + sound.mid(sound.indexOf(']', start));
    }
    return {};
}

} // namespace

class TestAnswerChecks final : public QObject
{
    Q_OBJECT

private slots:
    void wrongAnswersKeepTheList_data();
    void wrongAnswersKeepTheList();
    void resettingServerSeesFewConnections_data();
    void resettingServerSeesFewConnections();
    void refusedTunnelIsAskedOnce_data();
    void refusedTunnelIsAskedOnce();
    void busySiteIsAskedOnceMoreAfterItsPause();
};

void TestAnswerChecks::wrongAnswersKeepTheList_data()
{
    QTest::addColumn<QString>("page");      // by name, see pageNamed
    QTest::addColumn<QByteArray>("answer"); // to every address request; null: the sound one
    QTest::addColumn<QString>("command");   // lst, urls, list, send
    QTest::addColumn<int>("exitCode");

    const struct
    {
        const char *name;
        const char *page;
        QByteArray answer;
        int exitCode;
    } cases[] = {
        {"sound", "sound", {}, 0},
        {"page without song array", "no array", {}, 2},
        {"page cut inside the array", "cut in the array", {}, 2},
        {"15 MiB of junk", "15 MiB of junk", {}, 2},
        {"empty song array", "empty array", {}, 0},
        {"answer is a page", "sound", "<html>error</html>", 2},
        {"answer is another site", "sound", "http://evil.invalid/x.mp3", 2},
        {"answer is empty", "sound", "", 2},
        {"answer holds a blank", "sound", "/files/a b.mp3", 2},
        {"answer of 15 MiB", "sound", "/" + QByteArray(15 << 20, 'a'), 2},
    };
    for (const auto &c : cases) {
        for (const char *command : {"lst", "urls", "list", "send"}) {
            const bool sends = qstrcmp(command, "send") == 0;
            if (sends && c.exitCode == 0)
                continue; // sending soundly is the downloaders' test
            if (qstrcmp(command, "list") == 0 && !c.answer.isNull())
                continue; // the listing asks for no address
            QTest::addRow("%s, %s", c.name, command)
                << QString::fromLatin1(c.page) << c.answer << QString::fromLatin1(command)
                << c.exitCode;
        }
    }
}

void TestAnswerChecks::wrongAnswersKeepTheList()
{
    QFETCH(QString, page);
    QFETCH(QByteArray, answer);
    QFETCH(QString, command);
    QFETCH(int, exitCode);

    HostileServer server(Behaviour::Sound, Where::Page);
    QVERIFY(server.listen());
    const QByteArray sound = DemoCatalogue::toGbk(
        server.catalogue().cataloguePage(server.baseUrl() + u"/song/link?sid="_s));
    server.setPage(pageNamed(page, sound));
    server.setAnswer(answer);
    QTcpServer downloader; // counts the connections a send would make
    QVERIFY(downloader.listen(QHostAddress::LocalHost, 0));

    QTemporaryDir dir;
    const QString path = dir.filePath(u"songs.lst"_s);
    QVERIFY(writeFile(path, OldList));
    QStringList args{u"--site"_s, server.baseUrl()};
    if (command == u"list")
        args << u"--list"_s;
    else if (command == u"send")
        args << u"--send-to"_s << u"http://127.0.0.1:%1/jsonrpc"_s.arg(downloader.serverPort())
             << u"--all"_s << u"--archive"_s << path;
    else
        args << u"--export"_s << path << u"--all"_s << u"--format"_s << command;

    const MeasuredRun run = MeasuredRun::run(QStringLiteral(LUMISONG_BINARY), args, 20000, AddressSpaceCap);
    QVERIFY2(!run.timedOut, "the run did not end within 20 s");
    QVERIFY2(run.maxRssKb < MostRssKb, qPrintable(u"peak memory %1 MiB"_s.arg(run.maxRssKb / 1024)));
    QVERIFY2(run.exitCode == exitCode, run.err.constData());
    QVERIFY(!downloader.hasPendingConnections());
    if (exitCode != 0) {
        if (answer.isNull())
            QVERIFY2(run.err.contains("获取新歌列表失败，请检查网络..."), run.err.constData());
        QCOMPARE(readAll(path), OldList);
        QVERIFY(!run.err.contains("列表成功生成！"));
        QCOMPARE(run.out, QByteArray());
    } else if (command == u"lst") {
        const bool empty = page == u"empty array";
        QCOMPARE(readAll(path), empty ? QByteArray("//By Tolvane\r\n")
                                      : expectedListFile(server.catalogue(), server.baseUrl()));
    }
}

void TestAnswerChecks::resettingServerSeesFewConnections_data()
{
    QTest::addColumn<int>("connections");
    QTest::newRow("4 at a time") << 4;
    QTest::newRow("16 at a time") << 16;
}

void TestAnswerChecks::resettingServerSeesFewConnections()
{
    QFETCH(int, connections);
    HostileServer server(Behaviour::ResetAtOnce, Where::Addresses, 200);
    QVERIFY(server.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"songs.lst"_s);
    QVERIFY(writeFile(path, OldList));
    const MeasuredRun run = MeasuredRun::run(
        QStringLiteral(LUMISONG_BINARY),
        {u"--site"_s, server.baseUrl(), u"--export"_s, path, u"--all"_s, u"--connections"_s,
         QString::number(connections)},
        20000);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(readAll(path), OldList);
    // The page's own, then the songs asked for at once: each sent at most
    // three times (the first try and two re-sends), never more.
    QTRY_VERIFY(server.connections() > 1);
    QVERIFY2(server.connections() <= 1 + 3 * connections,
             qPrintable(u"%1 connections"_s.arg(server.connections())));
}

void TestAnswerChecks::refusedTunnelIsAskedOnce_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<Where>("where"); // where a CONNECT falls: never at the page
    QTest::newRow("407") << Behaviour::RefuseTunnel << Where::Page;
    QTest::newRow("403") << Behaviour::ForbidTunnel << Where::Page;
    QTest::newRow("closing") << Behaviour::ResetAtOnce << Where::Addresses;
}

void TestAnswerChecks::refusedTunnelIsAskedOnce()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(Where, where);
    HostileServer proxy(behaviour, where);
    QVERIFY(proxy.listen());
    const QByteArray proxyUrl = "http://songs:pw@127.0.0.1:" + QByteArray::number(proxy.port());
    const ProxyEnvironment environment({{"https_proxy", proxyUrl}});
    const MeasuredRun run = MeasuredRun::run(QStringLiteral(LUMISONG_BINARY),
                                             {u"--site"_s, u"https://songs.invalid"_s, u"--list"_s},
                                             20000);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("获取新歌列表失败，请检查网络..."), run.err.constData());
    // One tunnel asked for: the credentials go out once, after the proxy's
    // first answer names the scheme it wants.
    QCOMPARE(proxy.connections(), 1);
    QVERIFY2(proxy.requests() <= 2, qPrintable(u"%1 requests"_s.arg(proxy.requests())));
}

void TestAnswerChecks::busySiteIsAskedOnceMoreAfterItsPause()
{
    constexpr int Songs = 8;
    HostileServer server(Behaviour::BusyOnce, Where::Addresses, Songs);
    QVERIFY(server.listen());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"songs.lst"_s);
    const MeasuredRun run = MeasuredRun::run(
        QStringLiteral(LUMISONG_BINARY),
        {u"--site"_s, server.baseUrl(), u"--export"_s, path, u"--all"_s}, 30000);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(readAll(path), expectedListFile(server.catalogue(), server.baseUrl()));
    QCOMPARE(server.requests(), 1 + 2 * Songs);
}

QTEST_GUILESS_MAIN(TestAnswerChecks)
#include "tst_answerchecks.moc"
