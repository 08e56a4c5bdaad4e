#include <QtTest>

#include <QJsonDocument>

#include "platform/propertybag.h"
#include "tests/support/datacolumns.h"

#include <sys/stat.h>

using namespace Lumisong;

class tst_PropertyBag : public QObject
{
    Q_OBJECT

private slots:
    void namesIgnoreCase();
    void writeStoresOnlyDifferences();
    void readTypes_data();
    void readTypes();
    void jsonRoundTrip();
    void jsonDecoding_data();
    void jsonDecoding();
    void pictures();
    void sourcesThatAreNoFile_data();
    void sourcesThatAreNoFile();
};

void tst_PropertyBag::namesIgnoreCase()
{
    PropertyBag bag;
    bag.setValue(QStringLiteral("VersionNoTip"), QStringLiteral("1.2.3"));
    bag.setValue(QStringLiteral("versionnotip"), QStringLiteral("1.2.4"));
    QCOMPARE(bag.size(), 1);
    QCOMPARE(bag.names(), QStringList{QStringLiteral("VersionNoTip")});
    QCOMPARE(bag.read(QStringLiteral("VERSIONNOTIP"), QString()), QStringLiteral("1.2.4"));
    bag.remove(QStringLiteral("versionNOTIP"));
    QVERIFY(bag.isEmpty());
}

void tst_PropertyBag::writeStoresOnlyDifferences()
{
    PropertyBag bag;
    bag.write(QStringLiteral("Max"), qint32(100), qint32(100));
    QVERIFY(!bag.contains(QStringLiteral("Max")));
    bag.write(QStringLiteral("Max"), qint32(7), qint32(100));
    QCOMPARE(bag.read(QStringLiteral("max"), qint32(100)), 7);
    // Writing the default again drops what an earlier save stored.
    bag.write(QStringLiteral("MAX"), qint32(100), qint32(100));
    QVERIFY(bag.isEmpty());
    QCOMPARE(bag.read(QStringLiteral("Max"), qint32(100)), 100);
    bag.write(QStringLiteral("Text"), QString(), QString());
    QVERIFY(bag.isEmpty());
}

void tst_PropertyBag::readTypes_data()
{
    QTest::addColumn<int>("stored"); // 0 integer, 1 boolean, 2 text, 3 colour
    Test::addColumns<bool, bool, bool, bool>({"asInteger", "asBoolean", "asText", "asColour"});
    QTest::newRow("integer") << 0 << true << false << false << true; // a colour reads a number
    QTest::newRow("boolean") << 1 << false << true << false << false;
    QTest::newRow("text") << 2 << false << false << true << false;
    QTest::newRow("colour") << 3 << false << false << false << true;
}

void tst_PropertyBag::readTypes()
{
    QFETCH(int, stored);
    QFETCH(bool, asInteger);
    QFETCH(bool, asBoolean);
    QFETCH(bool, asText);
    QFETCH(bool, asColour);
    const QList<PropertyBag::Value> values{qint32(16777215), true, QStringLiteral("x"),
                                           Colour::rgb(1, 2, 3)};
    PropertyBag bag;
    bag.setValue(QStringLiteral("P"), values[stored]);
    QCOMPARE(bag.read(QStringLiteral("P"), qint32(0)).has_value(), asInteger);
    QCOMPARE(bag.read(QStringLiteral("P"), false).has_value(), asBoolean);
    QCOMPARE(bag.read(QStringLiteral("P"), QString()).has_value(), asText);
    QCOMPARE(bag.read(QStringLiteral("P"), Colour()).has_value(), asColour);
    QVERIFY(!bag.read(QStringLiteral("P"), FontDescription()).has_value());
}

void tst_PropertyBag::jsonRoundTrip()
{
    FontDescription font = FontDescription::ambient();
    font.bold = true;
    font.points = 10.5;
    PropertyBag bag;
    bag.setValue(QStringLiteral("Theme"), qint32(-8));
    bag.setValue(QStringLiteral("Enabled"), false);
    bag.setValue(QStringLiteral("Text"), QStringLiteral("进度 \"q\""));
    bag.setValue(QStringLiteral("TextEffectColor"), Colour::rgb(255, 255, 255));
    bag.setValue(QStringLiteral("BackColor"), Colour::system(15));
    bag.setValue(QStringLiteral("TextFont"), font);
    bag.setValue(QString(PropertyBag::ExtentX), qint32(20452));
    const QByteArray json = QJsonDocument(bag.toJson()).toJson();
    const PropertyBag back = PropertyBag::fromJson(QJsonDocument::fromJson(json).object());
    QVERIFY(back == bag);
    QCOMPARE(back.read(QStringLiteral("TextFont"), FontDescription())->charset, 134);
    QVERIFY(json.contains("\"rgb(255, 255, 255)\""));
    QVERIFY(json.contains("\"0x8000000F\""));
}

void tst_PropertyBag::jsonDecoding_data()
{
    Test::addColumns<QByteArray, bool, bool, bool>(
        {"json", "readsAsInteger", "readsAsColour", "readsAsFont"});
    QTest::newRow("integer") << QByteArray("5") << true << true << false;
    QTest::newRow("fraction") << QByteArray("5.5") << false << false << false;
    QTest::newRow("too large") << QByteArray("3000000000") << false << false << false;
    QTest::newRow("colour") << QByteArray(R"j({"colour": "rgb(1, 2, 3)"})j") << false << true << false;
    QTest::newRow("bad colour") << QByteArray(R"j({"colour": "rgb(1, 2)"})j") << false << false << false;
    QTest::newRow("font") << QByteArray(R"j({"font": {"face": "A", "points": 9}})j") << false << false << true;
    QTest::newRow("font without size") << QByteArray(R"j({"font": {"face": "A"}})j") << false << false << false;
    QTest::newRow("font bad flag") << QByteArray(R"j({"font": {"face": "A", "points": 9, "bold": 1}})j")
                                   << false << false << false;
    QTest::newRow("unknown object") << QByteArray(R"j({"what": 1})j") << false << false << false;
    QTest::newRow("array") << QByteArray("[1]") << false << false << false;
    QTest::newRow("null") << QByteArray("null") << false << false << false;
}

void tst_PropertyBag::jsonDecoding()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, readsAsInteger);
    QFETCH(bool, readsAsColour);
    QFETCH(bool, readsAsFont);
    const QByteArray document = "{\"P\": " + json + ", \"Next\": 1}";
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(document, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const PropertyBag bag = PropertyBag::fromJson(object);
    QCOMPARE(bag.read(QStringLiteral("P"), qint32(0)).has_value(), readsAsInteger);
    QCOMPARE(bag.read(QStringLiteral("P"), Colour()).has_value(), readsAsColour);
    QCOMPARE(bag.read(QStringLiteral("P"), FontDescription()).has_value(), readsAsFont);
    // A failed entry leaves the others readable, and saving keeps it as it was.
    QCOMPARE(bag.read(QStringLiteral("Next"), qint32(0)), 1);
    if (!readsAsInteger && !readsAsColour && !readsAsFont)
        QCOMPARE(bag.toJson().value(QStringLiteral("P")), object.value(QStringLiteral("P")));
}

void tst_PropertyBag::pictures()
{
    QTemporaryDir dir;
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 128));
    QVERIFY(image.save(dir.filePath(QStringLiteral("p.png"))));
    const QJsonObject object = QJsonDocument::fromJson(
        R"j({"PictureNormal": {"picture": "p.png"}, "PictureOver": {"picture": "missing.png"}})j").object();
    const PropertyBag bag = PropertyBag::fromJson(object, dir.path());
    const auto picture = bag.read(QStringLiteral("picturenormal"), Picture());
    QVERIFY(picture.has_value());
    QCOMPARE(picture->image.pixel(1, 1), image.pixel(1, 1));
    QVERIFY(!bag.read(QStringLiteral("PictureOver"), Picture()).has_value());
    QCOMPARE(bag.toJson(), object);

    // A picture made in code is saved inline and comes back the same.
    PropertyBag inlined;
    inlined.setValue(QStringLiteral("P"), Picture{QString(), image});
    const PropertyBag back = PropertyBag::fromJson(inlined.toJson());
    QCOMPARE(back.read(QStringLiteral("P"), Picture())->image.pixel(0, 0), image.pixel(0, 0));
}

void tst_PropertyBag::sourcesThatAreNoFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("pipe without writer") << QStringLiteral("pipe"); // reading it would wait forever
    QTest::newRow("device") << QStringLiteral("/dev/zero");
}

void tst_PropertyBag::sourcesThatAreNoFile()
{
    QFETCH(QString, source);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    QVERIFY(Picture::load(source, dir.path()).isNull());
    const QJsonObject object{{QStringLiteral("P"), QJsonObject{{QStringLiteral("picture"), source}}}};
    QVERIFY(!PropertyBag::fromJson(object, dir.path()).read(QStringLiteral("P"), Picture()));
}

QTEST_GUILESS_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
