#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpSocket>
#include <QTest>

#include "net/fetchlimits.h"
#include "net/modgetcode.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

// The demo site must serve what the program expects from the real site, or the
// end-to-end tests that rely on it prove nothing.
class DemoSiteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everySongResolvesToAFile();
    void unknownAddressesAreNotFound_data();
    void unknownAddressesAreNotFound();
    void versionPageAnnouncesTheVersion();
    void namesNeedGbkNotJustGb2312();
    void connectDelayOncePerConnection();
    void countsConnections();
    void catalogueFromAListing_data();
    void catalogueFromAListing();
    void sessionCookieGuardsAddresses_data();
    void sessionCookieGuardsAddresses();

private:
    DemoSite m_site{40};
};

void DemoSiteTest::initTestCase()
{
    QVERIFY(m_site.listen());
}

void DemoSiteTest::everySongResolvesToAFile()
{
    QSet<QString> ids;
    for (const DemoCatalogue::Song &song : m_site.catalogue().songs()) {
        ids.insert(song.songId);
        const FetchResult answer = fetchPage(m_site.hashedUrl() + song.songId, u"gb2312"_s);
        QVERIFY2(answer.ok, qPrintable(answer.error));
        QCOMPARE(answer.text, DemoCatalogue::filePath(song.songId));
        const FetchResult file = fetchPage(m_site.baseUrl() + answer.text, u"ISO-8859-1"_s);
        QVERIFY2(file.ok, qPrintable(file.error));
        QVERIFY(file.text.startsWith(u"ID3"));
    }
    QCOMPARE(ids.size(), m_site.catalogue().songs().size());
}

void DemoSiteTest::unknownAddressesAreNotFound_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("unknown song") << u"/song/link?hash=7c1f0e9ab24d&sid=1"_s;
    QTest::newRow("wrong hash") << u"/song/link?hash=0&sid="_s + m_site.catalogue().songs().at(0).songId;
    QTest::newRow("unknown file") << u"/files/1.mp3"_s;
    QTest::newRow("other page") << u"/index.php"_s;
}

void DemoSiteTest::unknownAddressesAreNotFound()
{
    QFETCH(QString, path);
    QVERIFY(!fetchPage(m_site.baseUrl() + path, u"gb2312"_s).ok);
}

void DemoSiteTest::versionPageAnnouncesTheVersion()
{
    m_site.setAnnouncedVersion(u"1.2.0"_s);
    const FetchResult page = fetchPage(m_site.versionUrl(), u"gb2312"_s);
    QVERIFY(page.ok);
    const QString title = textBetween(page.text, u"<title>", u"</title>");
    QCOMPARE(textBetween(title, u"(V", u")"), u"1.2.0"_s);
    const QString date = textBetween(page.text, u"【本次更新】", u"<br>");
    QCOMPARE(date, u"2010-04-27"_s);
    const QString notes = textBetween(page.text, QString(u"【本次更新】" + date + u"<br>"), u"</p>");
    QVERIFY(notes.contains(u"&ldquo;"));
    QVERIFY(notes.contains(u"<br>"));
}

void DemoSiteTest::namesNeedGbkNotJustGb2312()
{
    // Some names use characters outside GB2312, so a strict GB2312 decoder fails
    // visibly; all of them must survive the GBK round trip.
    QString names;
    for (const DemoCatalogue::Song &song : m_site.catalogue().songs())
        names += song.title + song.singer + song.album;
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(names);
    QVERIFY(!gbk.hasError());
    QVERIFY(QString(QStringDecoder("GB2312").decode(bytes)) != names);
    QCOMPARE(decodeBytes(bytes, u"gb2312"_s).value_or(QString()), names);
}

void DemoSiteTest::connectDelayOncePerConnection()
{
    // The delay plays the set-up of a connection: the first answer on a
    // connection waits for it, the next ones on the same connection do not.
    DemoSite site(3);
    site.setConnectDelay(400);
    QVERIFY(site.listen());
    closeAllConnections();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(fetchPage(site.versionUrl(), u"gb2312"_s).ok);
    const qint64 first = clock.restart();
    QVERIFY(fetchPage(site.versionUrl(), u"gb2312"_s).ok);
    const qint64 second = clock.elapsed();
    QVERIFY2(first >= 390, qPrintable(QString::number(first)));
    QVERIFY2(second < 390, qPrintable(QString::number(second)));
    QCOMPARE(site.connectionsAccepted(), 1);
}

void DemoSiteTest::countsConnections()
{
    DemoSite site(3);
    QVERIFY(site.listen());
    closeAllConnections();
    QTcpSocket a, b;
    for (QTcpSocket *socket : {&a, &b}) {
        socket->connectToHost(QHostAddress::LocalHost, site.port());
        QVERIFY(socket->waitForConnected(3000));
    }
    QTRY_COMPARE(site.openConnections(), 2);
    QTRY_COMPARE(site.mostConnectionsOpen(), 2);
    a.disconnectFromHost();
    QTRY_COMPARE(site.openConnections(), 1);
    QCOMPARE(site.connectionsAccepted(), 2);
    QCOMPARE(site.mostConnectionsOpen(), 2);
    site.resetCounters();
    QCOMPARE(site.connectionsAccepted(), 0);
    QCOMPARE(site.mostConnectionsOpen(), 1); // the one still open
    // "/status" tells the same counters, its own request included.
    const FetchResult status = fetchPage(site.baseUrl() + u"/status"_s, u"gb2312"_s);
    QVERIFY(status.ok);
    QVERIFY2(status.text.contains(u"connections accepted: 1\n"), qPrintable(status.text));
    QVERIFY(status.text.contains(u"connections open: 2\n"));
    QVERIFY(status.text.contains(u"requests: 1\n"));
}


void DemoSiteTest::catalogueFromAListing_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<bool>("taken");
    const QByteArray song = R"({"songId": "5", "releaseDate": "2010-05-01", "title": "T/1 \"x\"",)"
                            R"( "singer": "S", "album": "A", "dailyDownloads": "1", "totalDownloads": "2"})";
    QTest::newRow("as --list --json prints it")
        << QByteArray(R"({"hashedUrl": "h", "songs": [)" + song + "]}\n") << true;
    QTest::newRow("not JSON") << QByteArray("{\"songs\": [") << false;
    QTest::newRow("no songs array") << QByteArray(R"({"hashedUrl": ""})") << false;
    QTest::newRow("a quote the page cannot carry")
        << QByteArray(R"({"songs": [{"songId": "5", "title": "it's"}]})") << false;
    QTest::newRow("a brace the page cannot carry")
        << QByteArray(R"({"songs": [{"songId": "5", "album": "a}b"}]})") << false;
    QTest::newRow("no song id") << QByteArray(R"({"songs": [{"title": "t"}]})") << false;
}

void DemoSiteTest::catalogueFromAListing()
{
    QFETCH(QByteArray, listing);
    QFETCH(bool, taken);
    QString error;
    const std::optional<DemoCatalogue> catalogue = DemoCatalogue::fromListing(listing, &error);
    QCOMPARE(catalogue.has_value(), taken);
    QCOMPARE(error.isEmpty(), taken);
    if (!taken)
        return;
    QCOMPARE(catalogue->songs().size(), 1);
    const DemoCatalogue::Song &song = catalogue->songs().constFirst();
    QCOMPARE(song.title, u"T/1 \"x\""_s);
    QCOMPARE(song.totalDownloads, u"2"_s);
    QVERIFY(catalogue->findSong(u"5"));
    QVERIFY(catalogue->cataloguePage(u"h"_s).contains(u"{sid:'5',ti:'T/1 \"x\"',si:'S',al:'A'"));
}


namespace {

// One raw GET on a new connection; the answer's head and body as they came.
QByteArray rawGet(quint16 port, const QString &target, const QByteArray &cookie)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write("GET " + target.toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                 + (cookie.isEmpty() ? QByteArray() : "Cookie: " + cookie + "\r\n") + "\r\n");
    QByteArray answer;
    const auto complete = [&] {
        answer += socket.readAll();
        const qsizetype end = answer.indexOf("\r\n\r\n");
        const qsizetype at = answer.indexOf("Content-Length: ");
        return end >= 0 && at >= 0
            && answer.size() - end - 4 >= answer.mid(at + 16, answer.indexOf('\r', at) - at - 16).toInt();
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(complete(), 3000); }();
    return answer;
}

} // namespace

void DemoSiteTest::sessionCookieGuardsAddresses_data()
{
    QTest::addColumn<QByteArray>("cookie"); // {session}: the one the page set
    QTest::addColumn<int>("status");
    QTest::newRow("no cookie") << QByteArray() << 403;
    QTest::newRow("another value") << QByteArray("demo_session=0") << 403;
    QTest::newRow("the page's cookie") << QByteArray("{session}") << 200;
    QTest::newRow("among others") << QByteArray("a=1; {session}; b=2") << 200;
}

void DemoSiteTest::sessionCookieGuardsAddresses()
{
    QFETCH(QByteArray, cookie);
    QFETCH(int, status);
    DemoSite site(3);
    site.setSessionCookieRequired(true);
    QVERIFY(site.listen());
    const QByteArray page = rawGet(site.port(), u"/"_s, {});
    const qsizetype at = page.indexOf("Set-Cookie: ");
    QVERIFY2(at >= 0, page.constData());
    const QByteArray session = page.mid(at + 12, page.indexOf(';', at) - at - 12);
    QVERIFY(session.startsWith("demo_session="));

    const QString target = site.addressTarget(site.catalogue().songs().first().songId);
    const QByteArray answer = rawGet(site.port(), target, cookie.replace("{session}", session));
    const QByteArray statusLine = "HTTP/1.1 " + QByteArray::number(status);
    QVERIFY2(answer.startsWith(statusLine), answer.constData());
}

QTEST_GUILESS_MAIN(DemoSiteTest)
#include "tst_demosite.moc"
