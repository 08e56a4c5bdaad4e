#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "platform/singleinstance.h"
#include "tests/app/programrun.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"
#include "tests/support/datacolumns.h"

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
    void checkUpdate_data();
    void checkUpdate();
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
    Test::addColumns<QStringList, int, QByteArray, QByteArray>(
        {"args", "exitCode", "stdoutHas", "stderrHas"});
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
    QTest::newRow("check-update with list")
        << QStringList{u"--check-update"_s, u"--list"_s} << 1 << QByteArray()
        << QByteArray("--check-update");
    QTest::newRow("check-update with json")
        << QStringList{u"--check-update"_s, u"--json"_s} << 1 << QByteArray()
        << QByteArray("--check-update");
    QTest::newRow("check-update with connections")
        << QStringList{u"--check-update"_s, u"--connections"_s, u"2"_s} << 1 << QByteArray()
        << QByteArray("--check-update");
    QTest::newRow("check-update from a file")
        << QStringList{u"--check-update"_s, u"--update-url"_s, u"file:///etc/passwd"_s} << 1
        << QByteArray() << QByteArray("--update-url");
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

void tst_Headless::checkUpdate_data()
{
    QTest::addColumn<QString>("page");    // empty: the demo's own page; "refused": nobody listens
    QTest::addColumn<QString>("announced");
    QTest::addColumn<QString>("skipped");  // stored as by "本版本不再提示", empty: no setting
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("newest");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("newer") << QString() << u"1.2.0"_s << QString() << u"需要更新"_s
                           << u"1.2.0"_s << 0;
    QTest::newRow("same") << QString() << u"1.1.0"_s << QString() << u"最新"_s << u"1.1.0"_s
                          << 0;
    QTest::newRow("skipped") << QString() << u"1.2.0"_s << u"1.2.0"_s << u"最新"_s << u"1.2.0"_s
                             << 0;
    QTest::newRow("another than the skipped one")
        << QString() << u"1.3.0"_s << u"1.2.0"_s << u"需要更新"_s << u"1.3.0"_s << 0;
    QTest::newRow("lower-case v")
        << u"<title>Lumisong (v1.2.0)</title>"_s << QString() << QString() << u"最新"_s
        << QString() << 0;
    QTest::newRow("refused") << u"refused"_s << QString() << QString() << u"失败"_s << QString()
                             << 2;
}

void tst_Headless::checkUpdate()
{
    QFETCH(QString, page);
    QFETCH(QString, announced);
    QFETCH(QString, skipped);
    QFETCH(QString, result);
    QFETCH(QString, newest);
    QFETCH(int, exitCode);

    DemoSite site(1);
    QVERIFY(site.listen());
    site.setAnnouncedVersion(announced);
    QString url = site.versionUrl();
    if (page == u"refused") {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        url = u"http://127.0.0.1:%1/version.html"_s.arg(probe.serverPort());
    } else if (!page.isEmpty()) {
        site.setAnswer(u"/version.html"_s, gbkPage(page));
    }
    // The per-user store the program reads, in this test's own folder.
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        QSKIP("needs the configuration folder CTest gives every test");
    const QString ini = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Tolvane.ini"_s;
    QFile::remove(ini);
    QByteArray stored;
    if (!skipped.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(ini).path()));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        stored = "[Lumisong]\nVersionNoTip=" + skipped.toUtf8() + '\n';
        file.write(stored);
    }

    const Run run = runLumisong({u"--update-url"_s, url, u"--check-update"_s});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.endsWith("}\n"));
    QCOMPARE(run.out.count('\n'), 1);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(json.value(u"result").toString(), result);
    QCOMPARE(json.value(u"currentVersion").toString(), u"1.1.0"_s);
    QCOMPARE(json.value(u"skippedVersion").toString(), skipped);
    QCOMPARE(json.value(u"newestVersion").toString(), newest);

    // Keys in the order given; the dialog's texts only when it would show.
    QStringList keys{u"result"_s, u"currentVersion"_s, u"skippedVersion"_s, u"newestVersion"_s};
    if (result == u"需要更新")
        keys << u"lblUpdate"_s << u"lblTitle"_s << u"txtNew"_s;
    qsizetype at = 0;
    for (const QString &key : keys) {
        const QByteArray quoted = '"' + key.toLatin1() + "\": ";
        const qsizetype next = run.out.indexOf(quoted);
        QVERIFY2(next > at || (next == 1 && at == 0), qPrintable(key));
        at = next;
    }
    QCOMPARE(json.size(), keys.size());
    if (result == u"需要更新") {
        QCOMPARE(json.value(u"lblUpdate").toString(),
                 u"检测到新版本："_s + newest + u"（当前版本：1.1.0）"_s);
        QCOMPARE(json.value(u"lblTitle").toString(), u"发现新版本(更新于：2010-04-27)"_s);
        QCOMPARE(json.value(u"txtNew").toString(),
                 u"修正了“列表”的显示问题\r\n增加了生成列表的进度显示"_s);
    }

    // It writes no setting.
    if (skipped.isEmpty()) {
        QVERIFY(!QFile::exists(ini));
    } else {
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stored);
    }
    QFile::remove(ini);
}

QTEST_GUILESS_MAIN(tst_Headless)
#include "tst_headless.moc"
