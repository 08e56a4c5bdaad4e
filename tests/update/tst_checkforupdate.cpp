#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include "net/fetchlimits.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"
#include "update/checkforupdate.h"
#include "update/updatecheck.h"
#include "update/updatenotice.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Lumisong::ScriptedAnswer)

namespace {

// Runs the check and waits for its end (at most 10 s).
VersionPageReading checkNow(const UpdateCheckRequest &request)
{
    UpdateCheck check(request);
    VersionPageReading reading{u"<no end>"_s, {}};
    QObject::connect(&check, &UpdateCheck::finished, &check,
                     [&reading](const VersionPageReading &r) { reading = r; });
    QSignalSpy ended(&check, &UpdateCheck::finished);
    check.start();
    ended.wait(10000);
    return reading;
}

ScriptedAnswer gbkPage(const QString &text, int status = 200)
{
    ScriptedAnswer a;
    a.status = status;
    a.headers = {{"Content-Type", "text/html; charset=gb2312"}};
    a.body = DemoCatalogue::toGbk(text);
    return a;
}

// A version page: `title` inside <title>, `body` inside <body>.
QString page(const QString &title, const QString &body)
{
    return u"<html><head><title>"_s + title + u"</title></head><body>"_s + body +
           u"</body></html>"_s;
}

const QString Notes =
    u"<p>【本次更新】2010-04-27<br>修正了&ldquo;列表&rdquo;<br>增加了下载</p><p>其他</p>"_s;

} // namespace

class tst_CheckForUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void versionPage_data();
    void versionPage();
    void pageDidNotArrive_data();
    void pageDidNotArrive();

private:
    DemoSite m_site;
    FetchLimits m_limits;
};

void tst_CheckForUpdate::initTestCase()
{
    QVERIFY(m_site.listen());
    m_limits = fetchLimits();
    FetchLimits quick = m_limits;
    quick.idleTimeoutMs = 300;
    quick.maxBodyBytes = 64 * 1024;
    setFetchLimits(quick);
}

void tst_CheckForUpdate::cleanupTestCase()
{
    setFetchLimits(m_limits);
}

void tst_CheckForUpdate::versionPage_data()
{
    Test::addColumns<QString, QString, QString, QString, QString, QString, QString>(
        {"text", "current", "skipped", "result", "newest", "date", "notes"});

    const QString due = u"需要更新"_s;
    const QString upToDate = u"最新"_s;
    const QString notes = u"修正了“列表”\r\n增加了下载"_s;
    QTest::newRow("newer version") << page(u"Lumisong 新版 (V1.2.0) - 小站"_s, Notes) << u"1.1.0"_s
                                   << QString() << due << u"1.2.0"_s << u"2010-04-27"_s << notes;
    QTest::newRow("same version") << page(u"Lumisong (V1.1.0)"_s, Notes) << u"1.1.0"_s << QString()
                                  << upToDate << u"1.1.0"_s << QString() << QString();
    QTest::newRow("older version is announced too")
        << page(u"(V1.0.9)"_s, Notes) << u"1.1.0"_s << QString() << due << u"1.0.9"_s
        << u"2010-04-27"_s << notes;
    QTest::newRow("versions compare as text")
        << page(u"(V1.1.00)"_s, Notes) << u"1.1.0"_s << QString() << due << u"1.1.00"_s
        << u"2010-04-27"_s << notes;
    QTest::newRow("skipped version") << page(u"(V1.2.0)"_s, Notes) << u"1.1.0"_s << u"1.2.0"_s
                                     << upToDate << u"1.2.0"_s << QString() << QString();
    QTest::newRow("another version than the skipped one")
        << page(u"(V1.3.0)"_s, Notes) << u"1.1.0"_s << u"1.2.0"_s << due << u"1.3.0"_s
        << u"2010-04-27"_s << notes;
    QTest::newRow("lower-case v announces nothing")
        << page(u"Lumisong (v1.2.0)"_s, Notes) << u"1.1.0"_s << QString() << upToDate << QString()
        << QString() << QString();
    QTest::newRow("capital BR is kept, other entities too")
        << page(u"(V1.2.0)"_s,
                u"<p>【本次更新】2010-05-01<br>一<BR>二&amp;三<br><br>&rdquo;尾&ldquo;</p>"_s)
        << u"1.1.0"_s << QString() << due << u"1.2.0"_s << u"2010-05-01"_s
        << u"一<BR>二&amp;三\r\n\r\n”尾“"_s;
    QTest::newRow("missing notes paragraph")
        << page(u"(V1.2.0)"_s, u"<p>下载地址见附件</p>"_s) << u"1.1.0"_s << QString() << due
        << u"1.2.0"_s << QString() << QString();
    QTest::newRow("marker right before the line break")
        << page(u"(V1.2.0)"_s, u"<p>【本次更新】<br>只有说明</p>"_s) << u"1.1.0"_s << QString()
        << due << u"1.2.0"_s << QString() << u"只有说明"_s;
    QTest::newRow("notes up to the first paragraph end, GBK-only characters")
        << page(u"(V2.0.0)"_s, u"<p>【本次更新】2011-01-02<br>感谢吴喆、李堃</p><p>x</p>"_s)
        << u"1.1.0"_s << QString() << due << u"2.0.0"_s << u"2011-01-02"_s << u"感谢吴喆、李堃"_s;
}

void tst_CheckForUpdate::versionPage()
{
    QFETCH(QString, text);
    QFETCH(QString, current);
    QFETCH(QString, skipped);
    QFETCH(QString, result);
    QFETCH(QString, newest);
    QFETCH(QString, date);
    QFETCH(QString, notes);

    m_site.setAnswer(u"/version.html"_s, gbkPage(text));
    const VersionPageReading reading = checkNow({m_site.versionUrl(), current, skipped});
    QCOMPARE(reading.result, result);
    const UpdateNotice &notice = reading.notice;
    QCOMPARE(notice.newestVersion, newest);
    QCOMPARE(notice.due, result == u"需要更新");
    if (!notice.due)
        return;
    QCOMPARE(notice.releaseDate, date);
    QCOMPARE(notice.txtNew, notes);
    QCOMPARE(notice.lblUpdate, u"检测到新版本："_s + newest + u"（当前版本："_s + current + u"）"_s);
    QCOMPARE(notice.titleSuffix, u"(更新于："_s + date + u")"_s);
}

void tst_CheckForUpdate::pageDidNotArrive_data()
{
    QTest::addColumn<ScriptedAnswer>("answer"); // a status of 0: nothing listens
    const QString good = page(u"(V1.2.0)"_s, Notes);

    QTest::newRow("refused") << ScriptedAnswer{0, {}, {}, 0, false, false, true, -1};
    QTest::newRow("empty body") << gbkPage(QString());
    QTest::newRow("not found, with a page") << gbkPage(good, 404);
    QTest::newRow("server error, with a page") << gbkPage(good, 500);
    ScriptedAnswer stall;
    stall.stall = true;
    QTest::newRow("no answer in time") << stall;
    ScriptedAnswer closed;
    closed.closeWithoutAnswer = true;
    QTest::newRow("closed without an answer") << closed;
    ScriptedAnswer cut = gbkPage(good);
    cut.cutAfterBytes = 20;
    QTest::newRow("cut short") << cut;
    QTest::newRow("too large") << gbkPage(good + QString(70 * 1024, u'x'));
}

void tst_CheckForUpdate::pageDidNotArrive()
{
    QFETCH(ScriptedAnswer, answer);
    QString url = m_site.versionUrl();
    if (answer.status == 0) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        url = u"http://127.0.0.1:%1/version.html"_s.arg(probe.serverPort());
    } else {
        m_site.setAnswer(u"/version.html"_s, answer);
    }
    const VersionPageReading reading = checkNow({url, u"1.1.0"_s, QString()});
    QCOMPARE(reading.result, u"失败"_s);
    QVERIFY(!reading.notice.due);
    QVERIFY(reading.notice.newestVersion.isEmpty());
}

QTEST_GUILESS_MAIN(tst_CheckForUpdate)
#include "tst_checkforupdate.moc"
