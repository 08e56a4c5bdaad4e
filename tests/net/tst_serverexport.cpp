// The whole `lumisong --export FILE --all` against real servers on loopback:
// the demo site over HTTP/1.1, nginx with TLS, HTTP/2 and gzip in front of it,
// and tinyproxy asking for credentials. The list file has the same bytes
// whatever the protocol, connections and streams.
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/expectedlist.h"
#include "tests/support/measuredrun.h"
#include "tests/support/nginxrunner.h"
#include "tests/support/ports.h"
#include "tests/support/proxyenvironment.h"
#include "tests/support/testca.h"
#include "tests/support/tinyproxyrunner.h"
#include "tools/demosite/demosite.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Lumisong::Test;
using namespace Qt::StringLiterals;

namespace {

const QByteArray OldList = "an older list\r\n//By Tolvane\r\n";

enum class Front { DemoSite, Nginx };

} // namespace

class TestServerExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameListEverywhere_data();
    void sameListEverywhere();
    void answerCutMidRun_data();
    void answerCutMidRun();
    void proxies_data();
    void proxies();

private:
    // Runs the export to a file that held OldList; the file's bytes after it.
    QByteArray exportAll(const QString &site, const QStringList &extra, MeasuredRun *run);

    QTemporaryDir m_dir;
    TestCa m_ca;
    QString m_hostName; // a name of this machine that is not "localhost"
    QStringList m_listenHosts; // nginx's, with the loopback address the name has
};

void TestServerExport::initTestCase()
{
    // The proxy tests need a site name that the client does not take for
    // loopback (so the proxy is asked), yet that the proxy resolves to it.
    m_hostName = QHostInfo::localHostName();
    const QHostInfo info = QHostInfo::fromName(m_hostName);
    QVERIFY2(!info.addresses().isEmpty() && info.addresses().first().isLoopback(),
             qPrintable(u"this machine's name " + m_hostName
                        + u" must resolve to a loopback address (/etc/hosts)"));
    // Debian names the machine 127.0.1.1: the sites listen there too.
    m_listenHosts = NginxRunner::Options().listenHosts;
    const QHostAddress address = info.addresses().first();
    if (address != QHostAddress::LocalHost && address != QHostAddress::LocalHostIPv6)
        m_listenHosts << address.toString();
    QString error;
    QVERIFY2(m_ca.create({m_hostName}, &error), qPrintable(error));
    qputenv("SSL_CERT_FILE", m_ca.caFile().toLocal8Bit());
}

QByteArray TestServerExport::exportAll(const QString &site, const QStringList &extra,
                                       MeasuredRun *run)
{
    const QString path = m_dir.filePath(QStringLiteral("songs.lst"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(OldList) != OldList.size())
        return "<cannot write the old list>";
    file.close();
    *run = MeasuredRun::run(QStringLiteral(LUMISONG_BINARY),
                            QStringList{QStringLiteral("--site"), site, QStringLiteral("--export"),
                                        path, QStringLiteral("--all")}
                                + extra,
                            60000);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestServerExport::sameListEverywhere_data()
{
    Test::addColumns<Front, bool, int, QStringList>(
        {"front", "sessionCookie", "keepaliveRequests", "options"});
    QTest::addColumn<int>("mostConnections"); // for the address requests through nginx

    const auto n = [](int connections, int streams = 0) {
        QStringList options{QStringLiteral("--connections"), QString::number(connections)};
        if (streams > 0)
            options << QStringLiteral("--streams") << QString::number(streams);
        return options;
    };
    QTest::newRow("HTTP/1.1, N=1") << Front::DemoSite << false << 0 << n(1) << 0;
    QTest::newRow("HTTP/1.1, N=4") << Front::DemoSite << false << 0 << n(4) << 0;
    QTest::newRow("HTTP/1.1, N=16") << Front::DemoSite << false << 0 << n(16) << 0;
    QTest::newRow("HTTP/1.1, session cookie") << Front::DemoSite << true << 0 << QStringList() << 0;
    QTest::newRow("HTTP/2, N=1 M=1") << Front::Nginx << false << 1000 << n(1, 1) << 1;
    QTest::newRow("HTTP/2, N=4 M=1") << Front::Nginx << false << 1000 << n(4, 1) << 4;
    QTest::newRow("HTTP/2, N=4 M=32") << Front::Nginx << false << 1000 << n(4, 32) << 1;
    QTest::newRow("HTTP/2, N=16 M=32") << Front::Nginx << false << 1000 << n(16, 32) << 1;
    QTest::newRow("HTTP/2, defaults, session cookie")
        << Front::Nginx << true << 1000 << QStringList() << 1;
    // nginx ends each connection after 3 requests (GOAWAY); streams beyond go again.
    QTest::newRow("HTTP/2, keepalive_requests 3") << Front::Nginx << false << 3 << QStringList()
                                                  << 1000;
}

void TestServerExport::sameListEverywhere()
{
    QFETCH(Front, front);
    QFETCH(bool, sessionCookie);
    QFETCH(int, keepaliveRequests);
    QFETCH(QStringList, options);
    QFETCH(int, mostConnections);

    DemoSite site(100);
    site.setSessionCookieRequired(sessionCookie);
    QVERIFY(site.listen());
    NginxRunner nginx;
    QString base = site.baseUrl();
    if (front == Front::Nginx) {
        QString error;
        NginxRunner::Options options = NginxRunner::tlsFront(site.port(), m_ca);
        options.keepaliveRequests = keepaliveRequests;
        QVERIFY2(nginx.start(options, &error), qPrintable(error));
        base = nginx.baseUrl();
    }
    MeasuredRun run;
    const QByteArray list = exportAll(base, options, &run);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(list, expectedListFile(site.catalogue(), base));
    if (front == Front::DemoSite)
        return;

    QTRY_COMPARE(nginx.requests().size(), 101); // logged just after the answers left
    const QList<NginxRunner::Request> requests = nginx.requests();
    QSet<QString> addressConnections; // the page may have come on one of its own
    for (const NginxRunner::Request &request : requests) {
        QCOMPARE(request.protocol, QStringLiteral("HTTP/2.0"));
        QCOMPARE(request.contentEncoding, QStringLiteral("gzip"));
        if (request.target != u"/")
            addressConnections.insert(request.connection);
    }
    QVERIFY2(addressConnections.size() <= mostConnections,
             qPrintable(QStringLiteral("%1 connections").arg(addressConnections.size())));
}

void TestServerExport::answerCutMidRun_data()
{
    QTest::addColumn<Front>("front");
    QTest::newRow("HTTP/1.1") << Front::DemoSite;
    QTest::newRow("HTTP/2") << Front::Nginx;
}

void TestServerExport::answerCutMidRun()
{
    QFETCH(Front, front);
    DemoSite site(100);
    QVERIFY(site.listen());
    // One address answer in the middle declares its length and ends early.
    ScriptedAnswer cut = ScriptedAnswer::withBody("/files/cut-in-half.mp3");
    cut.cutAfterBytes = 8;
    site.setAnswer(site.addressTarget(site.catalogue().songs().at(50).songId), cut);
    NginxRunner nginx;
    QString base = site.baseUrl();
    if (front == Front::Nginx) {
        QString error;
        QVERIFY2(nginx.start(NginxRunner::tlsFront(site.port(), m_ca), &error), qPrintable(error));
        base = nginx.baseUrl();
    }
    MeasuredRun run;
    const QByteArray list = exportAll(base, {}, &run);
    QVERIFY2(run.exitCode == 2, run.err.right(6000).constData());
    QCOMPARE(list, OldList);
}

void TestServerExport::proxies_data()
{
    // In values: {proxy} is tinyproxy's host:port, {down} one where nothing
    // listens, {host} this machine's name; the site is {http} or {https}.
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("site");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("proxied"); // the request line tinyproxy saw, or empty

    const QString http = QStringLiteral("{http}://{host}");
    const QString https = QStringLiteral("{https}://{host}");
    QTest::newRow("http, credentials in the proxy address")
        << QStringList{u"http_proxy=http://user:secret@{proxy}"_s} << http << true
        << "GET {http}://{host}/ HTTP/1.1";
    QTest::newRow("http, proxy without a scheme")
        << QStringList{u"http_proxy=user:secret@{proxy}"_s} << http << true
        << "GET {http}://{host}/ HTTP/1.1";
    QTest::newRow("https through CONNECT")
        << QStringList{u"https_proxy=http://user:secret@{proxy}"_s} << https << true
        << "CONNECT {host}";
    QTest::newRow("https, all_proxy") << QStringList{u"all_proxy=user:secret@{proxy}"_s} << https
                                      << true << "CONNECT {host}";
    QTest::newRow("wrong password") << QStringList{u"http_proxy=http://user:wrong@{proxy}"_s} << http
                                    << false << "GET {http}://{host}/ HTTP/1.1";
    QTest::newRow("no credentials") << QStringList{u"http_proxy=http://{proxy}"_s} << http << false
                                    << "GET {http}://{host}/ HTTP/1.1";
    QTest::newRow("proxy down") << QStringList{u"http_proxy={down}"_s} << http << false << "";
    QTest::newRow("https, proxy down") << QStringList{u"https_proxy=http://{down}"_s} << https << false
                                       << "";
    QTest::newRow("socks proxy down") << QStringList{u"all_proxy=socks5h://{down}"_s} << http << false
                                      << "";
    QTest::newRow("no_proxy names the site")
        << QStringList{u"http_proxy={down}"_s, u"no_proxy={host}"_s} << http << true << "";
    QTest::newRow("127.0.0.1 is direct")
        << QStringList{u"http_proxy={down}"_s, u"all_proxy={down}"_s} << "{http}://127.0.0.1" << true
        << "";
    QTest::newRow("localhost is direct")
        << QStringList{u"https_proxy={down}"_s, u"all_proxy={down}"_s} << "{https}://localhost" << true
        << "";
    QTest::newRow("::1 is direct") << QStringList{u"http_proxy={down}"_s, u"all_proxy={down}"_s}
                                   << "{http}://[::1]" << true << "";
}

void TestServerExport::proxies()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, site);
    QFETCH(bool, ok);
    QFETCH(QString, proxied);

    DemoSite demo(40);
    QVERIFY(demo.listen());
    NginxRunner plain, tls;
    TinyproxyRunner proxy;
    QString error;
    NginxRunner::Options options = NginxRunner::tlsFront(demo.port(), m_ca);
    options.listenHosts = m_listenHosts;
    QVERIFY2(tls.start(options, &error), qPrintable(error));
    options.tls = false;
    QVERIFY2(plain.start(options, &error), qPrintable(error));
    QVERIFY2(proxy.start(QStringLiteral("user"), QStringLiteral("secret"), tls.port(), &error),
             qPrintable(error));
    const auto fill = [&](QString text) {
        return text.replace(u"{proxy}"_s, QStringLiteral("127.0.0.1:%1").arg(proxy.port()))
            .replace(u"{down}"_s, QStringLiteral("127.0.0.1:%1").arg(Ports::freePort()))
            .replace(u"{http}://{host}"_s, u"{http}://{host}:" + QString::number(plain.port()))
            .replace(u"{https}://{host}"_s, u"{https}://{host}:" + QString::number(tls.port()))
            .replace(u"{http}://127.0.0.1"_s, plain.baseUrl())
            .replace(u"{http}://[::1]"_s, plain.baseUrl(QStringLiteral("[::1]")))
            .replace(u"{https}://localhost"_s, tls.baseUrl(QStringLiteral("localhost")))
            .replace(u"{http}"_s, u"http"_s)
            .replace(u"{https}"_s, u"https"_s)
            .replace(u"{host}"_s, m_hostName);
    };
    QList<ProxyEnvironment::Variable> variables;
    for (const QString &assignment : environment) {
        const QString filled = fill(assignment);
        const qsizetype at = filled.indexOf(u'=');
        variables.append({filled.left(at).toLatin1(), filled.mid(at + 1).toLatin1()});
    }
    site = fill(site);

    MeasuredRun run;
    QByteArray list;
    {
        const ProxyEnvironment scope(variables);
        list = exportAll(site, {}, &run);
    }
    if (ok) {
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(list, expectedListFile(demo.catalogue(), site));
    } else {
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(list, OldList);
    }
    const QStringList seen = proxy.requests();
    if (proxied.isEmpty()) {
        QVERIFY2(seen.isEmpty(), qPrintable(seen.join(u'\n')));
    } else {
        proxied = fill(proxied);
        QVERIFY2(!seen.isEmpty() && seen.first().startsWith(proxied),
                 qPrintable(seen.join(u'\n')));
    }
}

QTEST_GUILESS_MAIN(TestServerExport)
#include "tst_serverexport.moc"
