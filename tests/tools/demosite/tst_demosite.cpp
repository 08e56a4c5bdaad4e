#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpSocket>
#include <QTest>

#include "tests/support/fetchnow.h"
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
    void songFilesAnswerRanges_data();
    void songFilesAnswerRanges();

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
        const FetchResult answer = Test::fetchNow(m_site.hashedUrl() + song.songId, u"gb2312"_s);
        QVERIFY2(answer.ok, qPrintable(answer.error));
        QCOMPARE(answer.text, DemoCatalogue::filePath(song.songId));
        const FetchResult file = Test::fetchNow(m_site.baseUrl() + answer.text, u"ISO-8859-1"_s);
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
    QVERIFY(!Test::fetchNow(m_site.baseUrl() + path, u"gb2312"_s).ok);
}

void DemoSiteTest::versionPageAnnouncesTheVersion()
{
    m_site.setAnnouncedVersion(u"1.2.0"_s);
    const FetchResult page = Test::fetchNow(m_site.versionUrl(), u"gb2312"_s);
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
    QVERIFY(Test::fetchNow(site.versionUrl(), u"gb2312"_s).ok);
    const qint64 first = clock.restart();
    QVERIFY(Test::fetchNow(site.versionUrl(), u"gb2312"_s).ok);
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
    const FetchResult status = Test::fetchNow(site.baseUrl() + u"/status"_s, u"gb2312"_s);
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
// `headers`: further lines of the request head, each ending in CR LF.
QByteArray rawGet(quint16 port, const QString &target, const QByteArray &headers)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write("GET " + target.toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n");
    QByteArray answer;
    const auto complete = [&] {
        answer += socket.readAll();
        if (socket.state() == QAbstractSocket::UnconnectedState)
            return true; // the server closed it: all there is
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
    cookie.replace("{session}", session);
    const QByteArray answer =
        rawGet(site.port(), target, cookie.isEmpty() ? QByteArray() : "Cookie: " + cookie + "\r\n");
    const QByteArray statusLine = "HTTP/1.1 " + QByteArray::number(status);
    QVERIFY2(answer.startsWith(statusLine), answer.constData());
}

void DemoSiteTest::songFilesAnswerRanges_data()
{
    // {etag} and {date}: the validators of the file's first answer.
    QTest::addColumn<QByteArray>("headers");
    QTest::addColumn<qint64>("cutAfter");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("from");  // first byte of the file in the body
    QTest::addColumn<qint64>("bytes"); // body bytes sent
    QTest::addColumn<QByteArray>("contentRange");
    const qint64 size = 10000;
    QTest::newRow("whole") << QByteArray() << -1LL << 200 << 0LL << size << QByteArray();
    QTest::newRow("open range") << QByteArray("Range: bytes=4000-\r\n") << -1LL << 206 << 4000LL
                                << 6000LL << QByteArray("bytes 4000-9999/10000");
    QTest::newRow("closed range") << QByteArray("Range: bytes=10-19\r\n") << -1LL << 206 << 10LL
                                  << 10LL << QByteArray("bytes 10-19/10000");
    QTest::newRow("If-Range ETag holds")
        << QByteArray("Range: bytes=9000-\r\nIf-Range: {etag}\r\n") << -1LL << 206 << 9000LL
        << 1000LL << QByteArray("bytes 9000-9999/10000");
    QTest::newRow("If-Range date holds")
        << QByteArray("Range: bytes=9000-\r\nIf-Range: {date}\r\n") << -1LL << 206 << 9000LL
        << 1000LL << QByteArray("bytes 9000-9999/10000");
    QTest::newRow("If-Range of another version: whole file")
        << QByteArray("Range: bytes=9000-\r\nIf-Range: \"0\"\r\n") << -1LL << 200 << 0LL << size
        << QByteArray();
    QTest::newRow("range past the end") << QByteArray("Range: bytes=10000-\r\n") << -1LL << 416
                                        << 0LL << 0LL << QByteArray("bytes */10000");
    QTest::newRow("cut") << QByteArray() << 1000LL << 200 << 0LL << 1000LL << QByteArray();
    QTest::newRow("range cut") << QByteArray("Range: bytes=1000-\r\n") << 1000LL << 206 << 1000LL
                               << 1000LL << QByteArray("bytes 1000-9999/10000");
}

void DemoSiteTest::songFilesAnswerRanges()
{
    QFETCH(QByteArray, headers);
    QFETCH(qint64, cutAfter);
    QFETCH(int, status);
    QFETCH(qint64, from);
    QFETCH(qint64, bytes);
    QFETCH(QByteArray, contentRange);
    DemoSite site(2);
    site.setFileSize(10000);
    QVERIFY(site.listen());
    const QString target = DemoCatalogue::filePath(site.catalogue().songs().first().songId);
    const QByteArray first = rawGet(site.port(), target, {});
    const qsizetype headEnd = first.indexOf("\r\n\r\n");
    const QByteArray file = first.mid(headEnd + 4);
    QCOMPARE(file.size(), 10000);
    QVERIFY(file.startsWith("ID3\x04"));
    QVERIFY(file.contains("\xFF\xFB\x90\xC0"));
    const QByteArray head = first.left(headEnd);
    const auto value = [](const QByteArray &head, const QByteArray &name) {
        const qsizetype at = head.indexOf(QByteArray("\r\n" + name + ": "));
        return at < 0 ? QByteArray() : head.mid(at + name.size() + 4, head.indexOf('\r', at + 2) - at - name.size() - 4);
    };
    headers.replace("{etag}", value(head, "ETag")).replace("{date}", value(head, "Last-Modified"));
    QVERIFY(!value(head, "ETag").isEmpty() && !value(head, "Last-Modified").isEmpty());

    site.setCutAfter(cutAfter);
    const QByteArray answer = rawGet(site.port(), target, headers);
    QVERIFY2(answer.startsWith(QByteArray("HTTP/1.1 " + QByteArray::number(status))), answer.left(200).constData());
    const qsizetype end = answer.indexOf("\r\n\r\n");
    QCOMPARE(value(answer.left(end), "Content-Range"), contentRange);
    const QByteArray body = answer.mid(end + 4);
    if (status != 416)
        QCOMPARE(body, file.mid(from, bytes));
    site.setFileRevision(1);
    QVERIFY(rawGet(site.port(), target, {}).mid(headEnd + 4) != file);
}

QTEST_GUILESS_MAIN(DemoSiteTest)
#include "tst_demosite.moc"
