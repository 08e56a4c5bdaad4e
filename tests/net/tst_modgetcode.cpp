#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

#include "net/gbkdecoder.h"
#include "net/modgetcode.h"
#include "net/proxyrules.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

class ModGetCodeTest : public QObject
{
    Q_OBJECT

private slots:
    void noProxyHosts_data();
    void noProxyHosts();
    void textBetween_data();
    void textBetween();
    void decodeBytes_data();
    void decodeBytes();
    void unknownCharsetIsNoText_data();
    void unknownCharsetIsNoText();
    void gbkAgreesWithIcuOnRandomBytes();
    void everyGbkCharacterRoundTrips();
};

void ModGetCodeTest::textBetween_data()
{
    Test::addColumns<QString, QString, QString, QString>({"text", "start", "end", "expected"});

    QTest::newRow("first pair") << u"x{a:1}{b:2}"_s << u"{"_s << u"}"_s << u"a:1"_s;
    QTest::newRow("version title") << u"Title(V1.2.0)"_s << u"(V"_s << u")"_s << u"1.2.0"_s;
    QTest::newRow("no start marker") << u"abc)"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("no end marker") << u"(V1.2"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("end marker only before start") << u")x(V1"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("start marker is the last thing") << u"abc(V"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("markers adjacent") << u"(V)"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("end search starts after the start marker")
        << u"aba"_s << u"ab"_s << u"ba"_s << QString();
    QTest::newRow("case-sensitive") << u"(v1.2)"_s << u"(V"_s << u")"_s << QString();
    QTest::newRow("full-width markers")
        << u"<p>【本次更新】2010-04-27<br>x"_s << u"【本次更新】"_s << u"<br>"_s << u"2010-04-27"_s;
    QTest::newRow("empty text") << QString() << u"{"_s << u"}"_s << QString();
}

void ModGetCodeTest::textBetween()
{
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, expected);
    QCOMPARE(Lumisong::textBetween(text, start, end), expected);
}

void ModGetCodeTest::decodeBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii") << QByteArray("sid:'7'") << u"gb2312"_s << u"sid:'7'"_s;
    QTest::newRow("GB2312 text") << QByteArray("\xd0\xc2\xb8\xe8") << u"gb2312"_s << u"新歌"_s;
    QTest::newRow("GBK-only character as gb2312") << QByteArray("\x81\x40") << u"gb2312"_s << u"丂"_s;
    QTest::newRow("charset name in capitals") << QByteArray("\x81\x40") << u"GB2312"_s << u"丂"_s;
    QTest::newRow("gbk name") << QByteArray("\x86\xb4") << u"GBK"_s << u"喆"_s;
    QTest::newRow("0x80 is the euro sign") << QByteArray("\x80") << u"gb2312"_s << u"€"_s;
    QTest::newRow("lead byte at the end") << QByteArray("a\xd0") << u"gb2312"_s << u"a\uFFFD"_s;
    QTest::newRow("lead byte before ascii keeps the ascii")
        << QByteArray("\xd0" "0a") << u"gb2312"_s << u"\uFFFD0a"_s;
    QTest::newRow("lead byte before 0x7F") << QByteArray("\xd0\x7f") << u"gb2312"_s
                                           << u"\uFFFD\u007F"_s;
    QTest::newRow("utf-8 by name") << QByteArray("\xe6\x96\xb0") << u"utf-8"_s << u"新"_s;
    QTest::newRow("invalid utf-8") << QByteArray("a\xff") << u"utf-8"_s << u"a\uFFFD"_s;
    QTest::newRow("empty") << QByteArray() << u"gb2312"_s << QString();
}

void ModGetCodeTest::decodeBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, charset);
    QFETCH(QString, expected);
    const std::optional<QString> text = Lumisong::decodeBytes(bytes, charset);
    QVERIFY(text.has_value());
    QCOMPARE(*text, expected);
}

void ModGetCodeTest::unknownCharsetIsNoText_data()
{
    QTest::addColumn<QString>("charset");
    QTest::newRow("made-up name") << u"x-no-such-charset"_s;
    QTest::newRow("empty name") << QString();
}

void ModGetCodeTest::unknownCharsetIsNoText()
{
    QFETCH(QString, charset);
    QVERIFY(!Lumisong::decodeBytes("abc", charset).has_value());
}

void ModGetCodeTest::gbkAgreesWithIcuOnRandomBytes()
{
    // ICU's GBK converter is the reference for code page 936, also for the
    // handling of broken sequences; ours must give the same text.
    QRandomGenerator random(936);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(1, 40), Qt::Uninitialized);
        for (char &byte : bytes) {
            // Mostly high bytes, so lead and trail bytes meet often.
            byte = char(random.bounded(4) == 0 ? random.bounded(0x20, 0x80) : random.bounded(0x80, 0x100));
        }
        bytes.append('z'); // ICU drops an unfinished character at the very end
        QStringDecoder icu("GBK", QStringConverter::Flag::Stateless);
        const QString expected = icu.decode(bytes);
        QCOMPARE(GbkDecoder::decode(bytes), expected);
    }
}

void ModGetCodeTest::everyGbkCharacterRoundTrips()
{
    QByteArray all;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            all.append(char(lead));
            all.append(char(trail));
        }
    }
    const QString text = GbkDecoder::decode(all);
    QCOMPARE(text.size(), all.size() / 2);
    QVERIFY(!text.contains(QChar(0xFFFD)));
    QVERIFY(!text.contains(QChar(0x1A)));
    QCOMPARE(QStringEncoder("GBK").encode(text), all);
}

void ModGetCodeTest::noProxyHosts_data()
{
    QTest::addColumn<QByteArray>("lower");
    QTest::addColumn<QByteArray>("upper");
    QTest::addColumn<QByteArray>("hosts");
    const QByteArray loopback = "127.0.0.0/8,::1,localhost";
    QTest::newRow("none set") << QByteArray() << QByteArray() << loopback;
    QTest::newRow("lower case") << QByteArray("a.example,.b.example") << QByteArray("c.example")
                                << "a.example,.b.example," + loopback;
    QTest::newRow("upper case") << QByteArray() << QByteArray(" c.example ") << "c.example," + loopback;
    QTest::newRow("every host") << QByteArray("a.example, *") << QByteArray() << QByteArray("*");
}

void ModGetCodeTest::noProxyHosts()
{
    QFETCH(QByteArray, lower);
    QFETCH(QByteArray, upper);
    QFETCH(QByteArray, hosts);
    const QByteArray oldLower = qgetenv("no_proxy");
    const QByteArray oldUpper = qgetenv("NO_PROXY");
    qputenv("no_proxy", lower);
    qputenv("NO_PROXY", upper);
    const QByteArray result = Lumisong::noProxyHosts();
    qputenv("no_proxy", oldLower);
    qputenv("NO_PROXY", oldUpper);
    QCOMPARE(result, hosts);
}

QTEST_APPLESS_MAIN(ModGetCodeTest)
#include "tst_modgetcode.moc"
