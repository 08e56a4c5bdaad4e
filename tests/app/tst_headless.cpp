#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "platform/singleinstance.h"
#include "tests/app/programrun.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QString escaped(QString value)
{
    return value.replace(u'\\', u"\\\\"_s)
        .replace(u'\t', u"\\t"_s)
        .replace(u'\r', u"\\r"_s)
        .replace(u'\n', u"\\n"_s);
}

ScriptedAnswer gbkPage(const QString &text)
{
    ScriptedAnswer a;
    a.body = DemoCatalogue::toGbk(text);
    a.headers = {{"Content-Type", "text/html"}};
    return a;
}

const QByteArray PageMissing = "获取新歌列表失败，请检查网络...";

} // namespace

class tst_Headless : public QObject
{
    Q_OBJECT

private slots:
    void textListingMatchesTheSite_data();
    void textListingMatchesTheSite();
    void jsonListing();
    void valuesAreEscaped();
    void pageMissing_data();
    void pageMissing();
    void moreSongsThanTheTableHolds();
    void ignoresTheInstanceLock();
    void usageErrors_data();
    void usageErrors();
};

void tst_Headless::textListingMatchesTheSite_data()
{
    QTest::addColumn<int>("songs");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("demo") << 150;
    QTest::newRow("full table") << 1000;
}

void tst_Headless::textListingMatchesTheSite()
{
    QFETCH(int, songs);
    DemoSite site(songs);
    QVERIFY(site.listen());
    const Run run = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());

    QByteArray expected;
    int row = 0;
    for (const DemoCatalogue::Song &s : site.catalogue().songs()) {
        const QStringList fields = {QString::number(++row), s.releaseDate, s.title,
                                    s.singer,               s.album,       s.dailyDownloads,
                                    s.totalDownloads};
        QStringList line;
        for (const QString &f : fields)
            line.append(escaped(f));
        expected += line.join(u'\t').toUtf8() + '\n';
    }
    QCOMPARE(run.out, expected);
    QCOMPARE(site.requestCount(u"/"_s), 1);
    QCOMPARE(site.totalRequests(), 1);
}

void tst_Headless::jsonListing()
{
    DemoSite site(40);
    QVERIFY(site.listen());
    const Run run = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s, u"--json"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("{\"hashedUrl\": "));
    QVERIFY(run.out.endsWith("]}\n"));

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(run.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = doc.object();
    QCOMPARE(root.keys(), (QStringList{u"hashedUrl"_s, u"songs"_s}));
    QCOMPARE(root.value(u"hashedUrl").toString(), site.hashedUrl());
    const QJsonArray songs = root.value(u"songs").toArray();
    QCOMPARE(songs.size(), site.catalogue().songs().size());
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const DemoCatalogue::Song &s = site.catalogue().songs().at(i);
        const QJsonObject o = songs.at(i).toObject();
        QCOMPARE(o.size(), 7);
        const std::pair<const char16_t *, QString> fields[] = {
            {u"songId", s.songId},        {u"releaseDate", s.releaseDate},
            {u"title", s.title},          {u"singer", s.singer},
            {u"album", s.album},          {u"dailyDownloads", s.dailyDownloads},
            {u"totalDownloads", s.totalDownloads}};
        for (const auto &[key, value] : fields) {
            QVERIFY(o.value(QStringView(key)).isString());
            QCOMPARE(o.value(QStringView(key)).toString(), value);
        }
    }
}

void tst_Headless::valuesAreEscaped()
{
    DemoSite site(0);
    QVERIFY(site.listen());
    // Values carry TAB, CR, LF, backslash, a double quote, a control character
    // and GBK-only characters.
    const QString page =
        u"<script>var hashedurl:\"/song?id=\\\"; Data.Nlist.store = ["
        "{sid:'1',ti:'Tab\there',si:'Back\\slash',al:'Line\r\nbreak',da:'2010-03-01',"
        "dl:'\"12\"',tl:'\x01'},"
        "{sid:'2',ti:'丂亐',si:'歌手',al:'',da:'',dl:'',tl:''}]</script>"_s;
    site.setAnswer(u"/"_s, gbkPage(page));

    const Run text = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s});
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(QString::fromUtf8(text.out),
             u"1\t2010-03-01\tTab\\there\tBack\\\\slash\tLine\\r\\nbreak\t\"12\"\t\x01\n"
             "2\t\t丂亐\t歌手\t\t\t\n"_s);

    const Run json = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s, u"--json"_s});
    QCOMPARE(json.exitCode, 0);
    QVERIFY(json.out.contains("\"title\": \"Tab\\there\""));
    QVERIFY(json.out.contains("\"dailyDownloads\": \"\\\"12\\\"\""));
    QVERIFY(json.out.contains("\"totalDownloads\": \"\\u0001\""));
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root.value(u"hashedUrl").toString(), u"/song?id=\\"_s);
    const QJsonArray songs = root.value(u"songs").toArray();
    QCOMPARE(songs.size(), 2);
    QCOMPARE(songs.at(0).toObject().value(u"album").toString(), u"Line\r\nbreak"_s);
    QCOMPARE(songs.at(0).toObject().value(u"singer").toString(), u"Back\\slash"_s);
    QCOMPARE(songs.at(1).toObject().value(u"title").toString(), u"丂亐"_s);
}

void tst_Headless::pageMissing_data()
{
    QTest::addColumn<int>("status"); // 0: nothing listens
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("refused") << 0 << QByteArray();
    QTest::newRow("empty body") << 200 << QByteArray();
    QTest::newRow("not found") << 404 << QByteArray("<html>gone</html>");
    QTest::newRow("server error") << 500 << QByteArray("oops");
}

void tst_Headless::pageMissing()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    DemoSite site(5);
    QString base;
    if (status) {
        QVERIFY(site.listen());
        ScriptedAnswer a;
        a.status = status;
        a.body = body;
        site.setAnswer(u"/"_s, a);
        base = site.baseUrl();
    } else {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        base = u"http://127.0.0.1:%1"_s.arg(probe.serverPort());
    }
    for (const QStringList &extra : {QStringList{}, QStringList{u"--json"_s}}) {
        const Run run = runLumisong(QStringList{u"--site"_s, base, u"--list"_s} + extra);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err, PageMissing + '\n');
    }
}

void tst_Headless::moreSongsThanTheTableHolds()
{
    DemoSite site(1001);
    QVERIFY(site.listen());
    const Run run = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count('\n'), 1000);
    QVERIFY(run.out.startsWith("1\t"));
    QVERIFY(run.out.contains("\n1000\t"));
    QVERIFY(!run.out.contains("\n1001\t"));
    QVERIFY(run.err.contains("1000"));
}

void tst_Headless::ignoresTheInstanceLock()
{
    QTemporaryDir runtime;
    SingleInstance running(u"Lumisong"_s, runtime.path());
    QVERIFY(running.tryLock());
    DemoSite site(3);
    QVERIFY(site.listen());
    const Run run = runLumisong({u"--site"_s, site.baseUrl(), u"--list"_s}, runtime.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count('\n'), 3);
    QVERIFY(running.isLocked());
}

void tst_Headless::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("stdoutHas");
    QTest::addColumn<QByteArray>("stderrHas");
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QByteArray("--site")
                          << QByteArray();
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QByteArray("Lumisong 1.1.0")
                             << QByteArray();
    QTest::newRow("site with a path")
        << QStringList{u"--site"_s, u"http://127.0.0.1:1/new"_s, u"--list"_s} << 1
        << QByteArray() << QByteArray("--site");
    QTest::newRow("site not http")
        << QStringList{u"--site"_s, u"ftp://127.0.0.1"_s, u"--list"_s} << 1 << QByteArray()
        << QByteArray("http");
    // A mistake is reported without a display, even when the window was meant.
    QTest::newRow("window with a bad site")
        << QStringList{u"--site"_s, u"file:///etc"_s} << 1 << QByteArray() << QByteArray("--site");
    QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s} << 1 << QByteArray()
                                    << QByteArray("frobnicate");
}

void tst_Headless::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, stdoutHas);
    QFETCH(QByteArray, stderrHas);
    const Run run = runLumisong(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains(stdoutHas), run.out.constData());
    QVERIFY2(run.err.contains(stderrHas), run.err.constData());
}

QTEST_GUILESS_MAIN(tst_Headless)
#include "tst_headless.moc"
