#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include "tests/support/qtwarnings.h"
#include "tests/support/fetchnow.h"
#include "net/fetchlimits.h"
#include "net/modgetcode.h"
#include "tests/support/proxyenvironment.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Lumisong::ScriptedAnswer)

namespace {

ScriptedAnswer answer(int status, const QByteArray &body = {})
{
    ScriptedAnswer a;
    a.status = status;
    a.body = body;
    return a;
}

ScriptedAnswer redirectTo(const QByteArray &location)
{
    ScriptedAnswer a = answer(302);
    a.headers = {{"Location", location}};
    return a;
}

FetchLimits testLimits()
{
    FetchLimits limits;
    limits.idleTimeoutMs = 400;
    limits.totalTimeoutMs = 5000;
    limits.maxBodyBytes = 64 * 1024;
    limits.maxRedirects = 10;
    return limits;
}

} // namespace

class FetchPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void answers_data();
    void answers();
    void totalTimeLimit();
    void refusedConnection();
    void redirects_data();
    void redirects();
    void notWebAddresses_data();
    void notWebAddresses();
    void unknownCharset();
    void everyFetchAsksAgain();
    void loopbackBypassesTheSystemProxy();

private:
    QString url(const QString &path) const { return m_site.baseUrl() + path; }
    // "/stall" never answers and only something else can end the wait; "/ok" answers.
    void serveStallAndOk();

    DemoSite m_site;
};

void FetchPageTest::initTestCase()
{
    QVERIFY(m_site.listen());
}

void FetchPageTest::init()
{
    Test::failOnQtMisuseWarnings();
    setFetchLimits(testLimits());
    m_site.clearAnswers();
    m_site.resetCounters();
}

void FetchPageTest::cleanupTestCase()
{
    setFetchLimits(FetchLimits());
}

void FetchPageTest::serveStallAndOk()
{
    FetchLimits limits = testLimits();
    limits.idleTimeoutMs = 20000;
    limits.totalTimeoutMs = 20000;
    setFetchLimits(limits);
    ScriptedAnswer stall;
    stall.stall = true;
    m_site.setAnswer(u"/stall"_s, stall);
    m_site.setAnswer(u"/ok"_s, answer(200, "fine"));
}

void FetchPageTest::answers_data()
{
    Test::addColumns<ScriptedAnswer, bool, QString, int>({"served", "ok", "text", "requests"});

    const QByteArray gbkPage = DemoCatalogue::toGbk(u"新歌 喆 堃 镕"_s);
    const QByteArray big(100 * 1024, 'x');

    QTest::newRow("empty body") << answer(200) << true << QString() << 1;
    QTest::newRow("text body") << answer(200, "hello") << true << u"hello"_s << 1;
    QTest::newRow("no content") << answer(204) << true << QString() << 1;
    QTest::newRow("404 with a body") << answer(404, "<html>not here</html>") << false << QString() << 1;
    QTest::newRow("500") << answer(500, "oops") << false << QString() << 1;
    QTest::newRow("redirect status without Location") << answer(302, "x") << false << QString() << 1;

    ScriptedAnswer declaredUtf8 = answer(200, gbkPage);
    declaredUtf8.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    QTest::newRow("GBK page declared as utf-8") << declaredUtf8 << true << u"新歌 喆 堃 镕"_s << 1;
    QTest::newRow("GBK page without a charset") << answer(200, gbkPage) << true << u"新歌 喆 堃 镕"_s << 1;

    ScriptedAnswer stall = answer(200, "late");
    stall.stall = true;
    QTest::newRow("no answer within the idle limit") << stall << false << QString() << 1;
    ScriptedAnswer slow = answer(200, "slow");
    slow.latencyMs = 100;
    QTest::newRow("answer within the idle limit") << slow << true << u"slow"_s << 1;

    ScriptedAnswer cut = answer(200, QByteArray(1000, 'a'));
    cut.cutAfterBytes = 300;
    QTest::newRow("body cut off mid-way") << cut << false << QString() << 1;
    ScriptedAnswer close = answer(200, "x");
    close.closeWithoutAnswer = true;
    QTest::newRow("connection closed without an answer") << close << false << QString() << 2;

    QTest::newRow("declared body over the limit") << answer(200, big) << false << QString() << 1;
    ScriptedAnswer undeclared = answer(200, big);
    undeclared.sendContentLength = false;
    QTest::newRow("undeclared body over the limit") << undeclared << false << QString() << 1;
    ScriptedAnswer atLimit = answer(200, QByteArray(64 * 1024, 'y'));
    atLimit.sendContentLength = false;
    QTest::newRow("body exactly at the limit") << atLimit << true << QString(64 * 1024, u'y') << 2;
}

void FetchPageTest::answers()
{
    QFETCH(ScriptedAnswer, served);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(int, requests);
    m_site.setAnswer(u"/page"_s, served);
    const FetchResult result = Test::fetchNow(url(u"/page"_s), u"gb2312"_s);
    QVERIFY2(result.ok == ok, qPrintable(result.error));
    QCOMPARE(result.text, text);
    QCOMPARE(result.error.isEmpty(), ok);
    // The client asks once more when a connection closes before it has read an
    // answer; with a body that ends by closing, the close can be seen first.
    QVERIFY(m_site.requestCount(u"/page"_s) >= 1);
    QVERIFY(m_site.requestCount(u"/page"_s) <= requests);
}

void FetchPageTest::totalTimeLimit()
{
    FetchLimits limits = testLimits();
    limits.idleTimeoutMs = 5000;
    limits.totalTimeoutMs = 300;
    setFetchLimits(limits);
    ScriptedAnswer slow = answer(200, "slow");
    slow.latencyMs = 3000;
    m_site.setAnswer(u"/slow"_s, slow);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!Test::fetchNow(url(u"/slow"_s), u"gb2312"_s).ok);
    QVERIFY2(clock.elapsed() < 2500, "the total limit ended the wait, not the answer");
}

void FetchPageTest::refusedConnection()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    server.close();
    const FetchResult result =
        Test::fetchNow(QStringLiteral("http://127.0.0.1:%1/").arg(port), u"gb2312"_s);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
}

void FetchPageTest::redirects_data()
{
    QTest::addColumn<int>("hops");
    QTest::addColumn<QByteArray>("finalTarget");
    QTest::addColumn<bool>("ok");
    QTest::newRow("three hops") << 3 << QByteArray("/end") << true;
    QTest::newRow("ten hops") << 10 << QByteArray("/end") << true;
    QTest::newRow("eleven hops") << 11 << QByteArray("/end") << false;
    QTest::newRow("to an absolute address") << 1 << QByteArray("http://127.0.0.1:%1/end") << true;
    QTest::newRow("to ftp") << 1 << QByteArray("ftp://127.0.0.1/end") << false;
    QTest::newRow("to a file") << 2 << QByteArray("file:///etc/hostname") << false;
}

void FetchPageTest::redirects()
{
    QFETCH(int, hops);
    QFETCH(QByteArray, finalTarget);
    QFETCH(bool, ok);
    for (int i = 0; i < hops - 1; ++i)
        m_site.setAnswer(QStringLiteral("/r%1").arg(i), redirectTo("r" + QByteArray::number(i + 1)));
    finalTarget.replace("%1", QByteArray::number(m_site.port()));
    m_site.setAnswer(QStringLiteral("/r%1").arg(hops - 1), redirectTo(finalTarget));
    m_site.setAnswer(u"/end"_s, answer(200, "arrived"));

    const FetchResult result = Test::fetchNow(url(u"/r0"_s), u"gb2312"_s);
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.text, ok ? u"arrived"_s : QString());
    QCOMPARE(m_site.requestCount(u"/end"_s), ok ? 1 : 0);
}

void FetchPageTest::notWebAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << QString();
    QTest::newRow("relative") << u"/song/link?sid=1"_s;
    QTest::newRow("bare song id") << u"7300010"_s;
    QTest::newRow("file") << u"file:///etc/hostname"_s;
    QTest::newRow("ftp") << u"ftp://127.0.0.1/x"_s;
}

void FetchPageTest::notWebAddresses()
{
    QFETCH(QString, address);
    const FetchResult result = Test::fetchNow(address, u"gb2312"_s);
    QVERIFY(!result.ok);
    QVERIFY(result.text.isEmpty());
}

void FetchPageTest::unknownCharset()
{
    m_site.setAnswer(u"/text"_s, answer(200, "abc"));
    m_site.setAnswer(u"/empty"_s, answer(200));
    QVERIFY(!Test::fetchNow(url(u"/text"_s), u"x-no-such-charset"_s).ok);
    // An empty body is the empty text whatever the charset: nothing is decoded.
    const FetchResult empty = Test::fetchNow(url(u"/empty"_s), u"x-no-such-charset"_s);
    QVERIFY(empty.ok);
    QVERIFY(empty.text.isEmpty());
}

void FetchPageTest::everyFetchAsksAgain()
{
    m_site.setAnswer(u"/same"_s, answer(200, "same"));
    QCOMPARE(Test::fetchNow(url(u"/same"_s), u"gb2312"_s).text, u"same"_s);
    QCOMPARE(Test::fetchNow(url(u"/same"_s), u"gb2312"_s).text, u"same"_s);
    QCOMPARE(m_site.requestCount(u"/same"_s), 2);
}

void FetchPageTest::loopbackBypassesTheSystemProxy()
{
    QTcpServer deadProxy;
    QVERIFY(deadProxy.listen(QHostAddress::LocalHost));
    const quint16 proxyPort = deadProxy.serverPort();
    const QByteArray proxy = "http://127.0.0.1:" + QByteArray::number(proxyPort);
    deadProxy.close();
    // Only http_proxy is set: no_proxy and the rest are unset for the test.
    const Test::ProxyEnvironment proxies({{"http_proxy", proxy}});

    // The proxy is honoured for other hosts (and is down)...
    QVERIFY(!Test::fetchNow(u"http://music.example.com/"_s, u"gb2312"_s).ok);
    // ...but this machine's own servers are reached directly.
    m_site.setAnswer(u"/direct"_s, answer(200, "direct"));
    const FetchResult result = Test::fetchNow(url(u"/direct"_s), u"gb2312"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.text, u"direct"_s);
}

QTEST_GUILESS_MAIN(FetchPageTest)
#include "tst_fetchpage.moc"
