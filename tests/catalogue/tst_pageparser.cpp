#include <QRandomGenerator>
#include <QTest>

#include "catalogue/pageparser.h"
#include "tests/support/literalparser.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QString pageWith(const QString &arrayText)
{
    return u"<script>var c = {hashedurl:\"http://h/x?id=\"};\nData.Nlist.store = [" + arrayText
        + u"];\n</script>";
}

QString songObject(int i)
{
    return QStringLiteral("{sid:'%1',ti:'歌%1',si:'歌手%2',al:'专辑%3',da:'2010-03-%4',dl:'%5',tl:'%6'}")
        .arg(i)
        .arg(i % 7)
        .arg(i % 5)
        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
        .arg(i * 3)
        .arg(i * 31);
}

// Short pieces that make braces, quotes and keys collide often.
const QStringList tokens = {
    u"{"_s, u"}"_s, u"{a}"_s, u"{b}"_s, u"{a"_s, u"a}"_s, u","_s, u"x"_s, u"{{"_s,
    u"}}"_s, u"sid:'1'"_s, u"ti:'t'"_s, u"'"_s, u"{sid:'2'}"_s, u"{ab}"_s, u"b"_s,
    u"si"_s, u"d:'"_s, u":'"_s, u"al:'"_s, u"tl:'9"_s, u"dl"_s, u"da:'x'"_s,
};

QString randomArray(QRandomGenerator &random, int maxTokens)
{
    QString text;
    const int count = random.bounded(maxTokens + 1);
    for (int i = 0; i < count; ++i)
        text += tokens.at(random.bounded(qsizetype(tokens.size())));
    return text;
}

QString mutated(QRandomGenerator &random, QString text)
{
    const int edits = 1 + random.bounded(6);
    for (int e = 0; e < edits; ++e) {
        const qsizetype at = text.isEmpty() ? 0 : random.bounded(text.size() + 1);
        switch (random.bounded(4)) {
        case 0: // insert a token
            text.insert(at, tokens.at(random.bounded(qsizetype(tokens.size()))));
            break;
        case 1: // delete a little
            text.remove(at, random.bounded(8));
            break;
        case 2: { // copy a slice elsewhere: duplicates and half objects
            if (text.isEmpty())
                break;
            const qsizetype from = random.bounded(text.size());
            const QString slice = text.mid(from, 1 + random.bounded(60));
            text.insert(random.bounded(text.size() + 1), slice);
            break;
        }
        default: // replace one character by a marker character
            if (at < text.size())
                text[at] = QStringView(u"{}',]")[random.bounded(5)];
        }
    }
    return text;
}

} // namespace

class PageParserTest : public QObject
{
    Q_OBJECT

private slots:
    void edgeCases_data();
    void edgeCases();
    void fieldsAndKeyOrder();
    void hashedUrl_data();
    void hashedUrl();
    void moreThanCapacity();
    void agreesWithLiteralOnHostileArrays_data();
    void agreesWithLiteralOnHostileArrays();
    void agreesWithLiteralOnRandomArrays();
    void agreesWithLiteralOnMutatedPages();
};

void PageParserTest::edgeCases_data()
{
    QTest::addColumn<QString>("arrayText");
    QTest::addColumn<QStringList>("songIds");

    QTest::newRow("worked example")
        << u"{sid:'7',ti:'A',si:'B',al:'C',da:'2010-03-01',dl:'12',tl:'345'},"
           u"{sid:'8',ti:'D',si:'E',al:'F',da:'2010-03-02',dl:'3',tl:'40'}"_s
        << QStringList{u"7"_s, u"8"_s};
    QTest::newRow("identical objects give one row")
        << u"{sid:'1'},{sid:'2'},{sid:'1'},{sid:'3'},{sid:'1'}"_s
        << QStringList{u"1"_s, u"2"_s, u"3"_s};
    QTest::newRow("brace in a value cuts the record, leftover never read")
        << u"{sid:'1',ti:'a}b',si:'x'},{sid:'2'}"_s << QStringList{u"1"_s, u"2"_s};
    QTest::newRow("bracket in a value ends the array")
        << u"{sid:'1'},{sid:'2',ti:'a]b'},{sid:'3'}"_s << QStringList{u"1"_s};
    QTest::newRow("empty object ends the list")
        << u"{sid:'1'},{},{sid:'2'}"_s << QStringList{u"1"_s};
    QTest::newRow("no objects") << u" "_s << QStringList{};
    QTest::newRow("open brace without close") << u"{sid:'1'},{sid:'2'"_s << QStringList{u"1"_s};
    QTest::newRow("removal joins pieces into a new record")
        << u"{sid:'1'},{sid:'2{sid:'1'}9'}"_s << QStringList{u"1"_s, u"29"_s};
    QTest::newRow("join makes a copy the single pass did not see")
        << u"{a}{{a}a}}{c}"_s << QStringList{u""_s, u""_s, u""_s};
}

void PageParserTest::edgeCases()
{
    QFETCH(QString, arrayText);
    QFETCH(QStringList, songIds);
    const QString page = pageWith(arrayText);
    const ParsedPage parsed = parseCataloguePage(page);
    QStringList ids;
    for (const SongRecord &song : parsed.songs)
        ids.append(song.songId);
    QCOMPARE(ids, songIds);
    QCOMPARE(parsed.songs, Literal::parsePage(page).songs);
}

void PageParserTest::fieldsAndKeyOrder()
{
    const ParsedPage parsed = parseCataloguePage(pageWith(
        u"{tl:'345',dl:'12',da:'2010-03-01',al:'C',si:'B',ti:'A',sid:'7'},"
        u"{sid:'9',ti:'It's',al:'专辑'}"_s));
    QCOMPARE(parsed.songs.size(), 2);
    const SongRecord &first = parsed.songs.at(0);
    QCOMPARE(first.songId, u"7"_s);
    QCOMPARE(first.title, u"A"_s);
    QCOMPARE(first.singer, u"B"_s);
    QCOMPARE(first.album, u"C"_s);
    QCOMPARE(first.releaseDate, u"2010-03-01"_s);
    QCOMPARE(first.dailyDownloads, u"12"_s);
    QCOMPARE(first.totalDownloads, u"345"_s);
    QVERIFY(first.downloadUrl.isEmpty());
    const SongRecord &second = parsed.songs.at(1);
    QCOMPARE(second.title, u"It"_s);     // a quote ends the value
    QCOMPARE(second.album, u"专辑"_s);   // and the next key is still found
    QVERIFY(second.singer.isEmpty());     // missing key
}

void PageParserTest::hashedUrl_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("hashedUrl");
    QTest::addColumn<int>("count");
    QTest::newRow("present") << pageWith(u"{sid:'1'}"_s) << u"http://h/x?id="_s << 1;
    QTest::newRow("missing, songs still load")
        << u"Data.Nlist.store = [{sid:'1'}]"_s << QString() << 1;
    QTest::newRow("no array marker")
        << u"hashedurl:\"u\" Data.Nlist.store =[{sid:'1'}]"_s << u"u"_s << 0;
    QTest::newRow("empty page") << QString() << QString() << 0;
}

void PageParserTest::hashedUrl()
{
    QFETCH(QString, page);
    QFETCH(QString, hashedUrl);
    QFETCH(int, count);
    const ParsedPage parsed = parseCataloguePage(page);
    QCOMPARE(parsed.hashedUrl, hashedUrl);
    QCOMPARE(parsed.songs.size(), count);
    QVERIFY(!parsed.truncated);
}

void PageParserTest::moreThanCapacity()
{
    for (const int objects : {1000, 1001, 1500}) {
        QStringList parts;
        for (int i = 0; i < objects; ++i)
            parts.append(songObject(i));
        const ParsedPage parsed = parseCataloguePage(pageWith(parts.join(u',')));
        QCOMPARE(parsed.songs.size(), 1000);
        QCOMPARE(parsed.truncated, objects > 1000);
        QCOMPARE(parsed.songs.last().songId, u"999"_s);
    }
}

void PageParserTest::agreesWithLiteralOnHostileArrays_data()
{
    // Shapes where removals join many chunks or cut tails off long runs of "{".
    QTest::addColumn<QString>("arrayText");
    QString sameObject, braceWall, joinChain, nested;
    for (int i = 0; i < 3000; ++i)
        sameObject += u"{a}";
    for (int i = 0; i < 200; ++i)
        braceWall += u"{b" + QString::number(i) + u'}';
    braceWall += QString(5000, u'{');
    for (int i = 0; i < 200; ++i)
        braceWall += u"{b" + QString::number(i) + u'}';
    joinChain = u"{a}"_s;
    for (int i = 0; i < 500; ++i)
        joinChain += u"{{{{{{a}"_s;
    joinChain += u"}}}}}}"_s;
    for (int i = 0; i < 2000; ++i)
        nested += u"{{a}"_s;
    nested += u'}';
    QTest::newRow("one object many times") << sameObject;
    QTest::newRow("run of braces cut once per record") << braceWall;
    QTest::newRow("chain of joins") << joinChain;
    QTest::newRow("nested joins") << nested;
    QTest::newRow("only open braces") << QString(20000, u'{') + u'}';
}

void PageParserTest::agreesWithLiteralOnHostileArrays()
{
    QFETCH(QString, arrayText);
    const QString page = pageWith(arrayText);
    const ParsedPage fast = parseCataloguePage(page);
    const ParsedPage literal = Literal::parsePage(page);
    QCOMPARE(fast.songs, literal.songs);
    QCOMPARE(fast.truncated, literal.truncated);
}

void PageParserTest::agreesWithLiteralOnRandomArrays()
{
    QRandomGenerator random(20100301);
    for (int round = 0; round < 4000; ++round) {
        const QString page = pageWith(randomArray(random, 40));
        const ParsedPage fast = parseCataloguePage(page);
        const ParsedPage literal = Literal::parsePage(page, 6);
        if (literal.truncated)
            continue; // capacity differs on purpose; covered below with small pages
        if (fast.songs != literal.songs)
            QFAIL(qPrintable(u"differs on array: " + textBetween(page, u"[", u"]")));
    }
}

void PageParserTest::agreesWithLiteralOnMutatedPages()
{
    QRandomGenerator random(19840601);
    QStringList base;
    for (int i = 0; i < 30; ++i)
        base.append(songObject(i % 12)); // duplicates on purpose
    const QString page = pageWith(base.join(u','));
    for (int round = 0; round < 3000; ++round) {
        const QString changed = mutated(random, page);
        const ParsedPage fast = parseCataloguePage(changed);
        const ParsedPage literal = Literal::parsePage(changed);
        QCOMPARE(fast.hashedUrl, literal.hashedUrl);
        QCOMPARE(fast.truncated, literal.truncated);
        if (fast.songs != literal.songs)
            QFAIL(qPrintable(u"differs on page: " + changed));
    }
}

QTEST_APPLESS_MAIN(PageParserTest)
#include "tst_pageparser.moc"
