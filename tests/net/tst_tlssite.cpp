// fetchPage against nginx in front of the demo site: TLS verification with a
// CA made at test time, HTTP/2 and gzip, both address families, and a
// redirect from https down to http.
#include <QTest>

#include "tests/support/fetchnow.h"
#include "net/modgetcode.h"
#include "tests/support/nginxrunner.h"
#include "tests/support/testca.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Lumisong::Test;
using Leaf = TestCa::Leaf;

class TestTlsSite final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void certificates_data();
    void certificates();
    void addressFamilies_data();
    void addressFamilies();
    void noRedirectFromHttpsToHttp();

private:
    TestCa m_ca;
    DemoSite m_site{30};
};

void TestTlsSite::initTestCase()
{
    QString error;
    QVERIFY2(m_ca.create({}, &error), qPrintable(error));
    QVERIFY(m_site.listen());
    qputenv("SSL_CERT_FILE", m_ca.caFile().toLocal8Bit());
}

void TestTlsSite::certificates_data()
{
    QTest::addColumn<Leaf>("leaf");
    QTest::addColumn<bool>("trustCa"); // SSL_CERT_FILE names the test CA
    QTest::addColumn<bool>("ok");
    QTest::newRow("signed by the trusted CA") << Leaf::Trusted << true << true;
    QTest::newRow("CA not in the bundle") << Leaf::Trusted << false << false;
    QTest::newRow("expired") << Leaf::Expired << true << false;
    QTest::newRow("for another host") << Leaf::WrongHost << true << false;
    QTest::newRow("signed by an unknown CA") << Leaf::Untrusted << true << false;
}

void TestTlsSite::certificates()
{
    QFETCH(Leaf, leaf);
    QFETCH(bool, trustCa);
    QFETCH(bool, ok);
    NginxRunner nginx;
    QString error;
    QVERIFY2(nginx.start(NginxRunner::tlsFront(m_site.port(), m_ca, leaf), &error),
             qPrintable(error));
    m_site.resetCounters();
    if (!trustCa)
        qunsetenv("SSL_CERT_FILE");
    const FetchResult result = Test::fetchNow(nginx.baseUrl() + u'/', QStringLiteral("gb2312"));
    qputenv("SSL_CERT_FILE", m_ca.caFile().toLocal8Bit());

    QCOMPARE(result.ok, ok);
    if (!ok) {
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(m_site.requestCount(QStringLiteral("/")), 0);
        return;
    }
    // The page as the site wrote it, its addresses pointing back at nginx.
    QVERIFY(result.text.contains(nginx.baseUrl() + u"/song/link?"));
    // nginx logs a request just after its last bytes have left.
    QTRY_COMPARE(nginx.requests().size(), 1);
    const QList<NginxRunner::Request> requests = nginx.requests();
    QCOMPARE(requests.first().protocol, QStringLiteral("HTTP/2.0"));
    QCOMPARE(requests.first().contentEncoding, QStringLiteral("gzip"));
}

void TestTlsSite::addressFamilies_data()
{
    QTest::addColumn<QString>("listenHost");
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("urlHost");
    QTest::newRow("https on ::1 only, by address") << "[::1]" << true << "[::1]";
    QTest::newRow("https on ::1 only, by localhost") << "[::1]" << true << "localhost";
    QTest::newRow("https on 127.0.0.1 only, by localhost") << "127.0.0.1" << true << "localhost";
    QTest::newRow("http on ::1 only, by address") << "[::1]" << false << "[::1]";
    QTest::newRow("http on ::1 only, by localhost") << "[::1]" << false << "localhost";
}

void TestTlsSite::addressFamilies()
{
    QFETCH(QString, listenHost);
    QFETCH(bool, tls);
    QFETCH(QString, urlHost);
    NginxRunner nginx;
    QString error;
    NginxRunner::Options options = NginxRunner::tlsFront(m_site.port(), m_ca);
    options.tls = tls;
    options.listenHosts = {listenHost};
    QVERIFY2(nginx.start(options, &error), qPrintable(error));
    const FetchResult result = Test::fetchNow(nginx.baseUrl(urlHost) + u'/', QStringLiteral("gb2312"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.text.contains(nginx.baseUrl(urlHost) + u"/song/link?"));
}

void TestTlsSite::noRedirectFromHttpsToHttp()
{
    NginxRunner nginx;
    QString error;
    NginxRunner::Options options = NginxRunner::tlsFront(0, m_ca);
    options.redirectTo = m_site.baseUrl() + u'/';
    QVERIFY2(nginx.start(options, &error), qPrintable(error));
    m_site.resetCounters();
    const FetchResult result = Test::fetchNow(nginx.baseUrl() + u'/', QStringLiteral("gb2312"));
    QVERIFY(!result.ok);
    QTRY_COMPARE(nginx.requests().size(), 1);
    QCOMPARE(m_site.totalRequests(), 0);
}

QTEST_GUILESS_MAIN(TestTlsSite)
#include "tst_tlssite.moc"
