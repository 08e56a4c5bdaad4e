#include "cli/rowselection.h"

#include <QTest>

using namespace Lumisong;

class TestRowSelection final : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data();
    void ticks();
};

// "ticks" names the ticked rows (from 1) as text, "<bad list>" for a text
// that is no list, "<outside>" for a row outside the list.
void TestRowSelection::ticks_data()
{
    QTest::addColumn<QString>("songs"); // null: --all
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("ticks");

    QTest::newRow("all") << QString() << 4 << QStringLiteral("1,2,3,4");
    QTest::newRow("all of an empty list") << QString() << 0 << QString();
    QTest::newRow("rows and ranges") << QStringLiteral("1,3,5-7") << 9 << QStringLiteral("1,3,5,6,7");
    QTest::newRow("order and repeats do not matter") << QStringLiteral("7, 2-3 ,2,7") << 9
                                                     << QStringLiteral("2,3,7");
    QTest::newRow("single-row range") << QStringLiteral("4-4") << 4 << QStringLiteral("4");
    QTest::newRow("last row") << QStringLiteral("1000") << 1000 << QStringLiteral("1000");
    QTest::newRow("row zero") << QStringLiteral("0") << 5 << QStringLiteral("<outside>");
    QTest::newRow("past the end") << QStringLiteral("1,6") << 5 << QStringLiteral("<outside>");
    QTest::newRow("range past the end") << QStringLiteral("3-6") << 5 << QStringLiteral("<outside>");
    QTest::newRow("huge number") << QStringLiteral("99999999999999999999999") << 5
                                 << QStringLiteral("<outside>");
    QTest::newRow("any row of an empty list") << QStringLiteral("1") << 0 << QStringLiteral("<outside>");
    QTest::newRow("empty text") << QStringLiteral("") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("empty item") << QStringLiteral("1,,2") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("negative") << QStringLiteral("-3") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("backwards range") << QStringLiteral("5-3") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("words") << QStringLiteral("one") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("sign") << QStringLiteral("+2") << 5 << QStringLiteral("<bad list>");
    QTest::newRow("open range") << QStringLiteral("2-") << 5 << QStringLiteral("<bad list>");
}

void TestRowSelection::ticks()
{
    QFETCH(QString, songs);
    QFETCH(int, rowCount);
    QFETCH(QString, ticks);

    QString error;
    const std::optional<RowSelection> selection =
        songs.isNull() ? RowSelection::all() : RowSelection::parse(songs, &error);
    if (!selection) {
        QCOMPARE(QStringLiteral("<bad list>"), ticks);
        QVERIFY(!error.isEmpty());
        return;
    }
    const std::optional<std::vector<bool>> result = selection->ticks(rowCount, &error);
    if (!result) {
        QCOMPARE(QStringLiteral("<outside>"), ticks);
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(int(result->size()), rowCount);
    QStringList rows;
    for (size_t i = 0; i < result->size(); ++i) {
        if ((*result)[i])
            rows << QString::number(i + 1);
    }
    QCOMPARE(rows.join(u','), ticks);
}

QTEST_APPLESS_MAIN(TestRowSelection)
#include "tst_rowselection.moc"
