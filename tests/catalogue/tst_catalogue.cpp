#include <QTest>

#include "tests/support/loadnow.h"
#include "catalogue/catalogue.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsTheDemoSite_data();
    void loadsTheDemoSite();
    void missingPageChangesNothing_data();
    void missingPageChangesNothing();
    void slotsOutsideTheTable();
};

void CatalogueTest::loadsTheDemoSite_data()
{
    QTest::addColumn<int>("songsOnPage");
    QTest::addColumn<int>("loaded");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("none") << 0 << 0 << false;
    QTest::newRow("default") << 150 << 150 << false;
    QTest::newRow("full table") << 1000 << 1000 << false;
    QTest::newRow("more than the table") << 1203 << 1000 << true;
}

void CatalogueTest::loadsTheDemoSite()
{
    QFETCH(int, songsOnPage);
    QFETCH(int, loaded);
    QFETCH(bool, truncated);
    DemoSite site(songsOnPage);
    QVERIFY(site.listen());
    Catalogue catalogue(site.baseUrl());
    const Catalogue::LoadResult result = Test::loadNow(catalogue);
    QVERIFY(result.arrived);
    QCOMPARE(result.count, loaded);
    QCOMPARE(result.truncated, truncated);
    QCOMPARE(catalogue.songCount(), loaded);
    QCOMPARE(catalogue.hashedUrl(), site.hashedUrl());
    QCOMPARE(site.requestCount(u"/"_s), 1);
    for (int slot = 0; slot < loaded; ++slot) {
        const DemoCatalogue::Song &expected = site.catalogue().songs().at(slot);
        const SongRecord &song = catalogue.song(slot);
        QCOMPARE(song.songId, expected.songId);
        QCOMPARE(song.title, expected.title);
        QCOMPARE(song.singer, expected.singer);
        QCOMPARE(song.album, expected.album);
        QCOMPARE(song.releaseDate, expected.releaseDate);
        QCOMPARE(song.dailyDownloads, expected.dailyDownloads);
        QCOMPARE(song.totalDownloads, expected.totalDownloads);
        QVERIFY(song.downloadUrl.isEmpty());
    }
    for (int slot = loaded; slot < 1000; ++slot) // the table has 1000 slots
        QCOMPARE(catalogue.song(slot), SongRecord());
}

void CatalogueTest::missingPageChangesNothing_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty page") << 200 << QByteArray();
    QTest::newRow("error page with a body") << 404 << QByteArray("<html>Data.Nlist.store = [{sid:'1'}]</html>");
    QTest::newRow("server error") << 500 << QByteArray("oops");
}

void CatalogueTest::missingPageChangesNothing()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    DemoSite site(3);
    QVERIFY(site.listen());
    Catalogue catalogue(site.baseUrl());
    QVERIFY(Test::loadNow(catalogue).arrived);

    ScriptedAnswer answer;
    answer.status = status;
    answer.body = body;
    site.setAnswer(u"/"_s, answer);
    const Catalogue::LoadResult result = Test::loadNow(catalogue);
    QVERIFY(!result.arrived);
    QCOMPARE(result.count, 0);
    QCOMPARE(catalogue.songCount(), 3);
    QCOMPARE(catalogue.hashedUrl(), site.hashedUrl());
    QCOMPARE(catalogue.song(2).songId, site.catalogue().songs().at(2).songId);
}

void CatalogueTest::slotsOutsideTheTable()
{
    Catalogue catalogue(u"http://127.0.0.1:1"_s);
    QVERIFY(catalogue.song(999).songId.isEmpty());
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, catalogue.song(1000));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, catalogue.song(-1));
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
