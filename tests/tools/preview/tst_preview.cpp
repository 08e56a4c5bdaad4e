#include <QtTest>

#include "controls/progressbar/progressbarpalette.h"
#include "tests/tools/preview/previewprocess.h"

using namespace Lumisong;

namespace {

struct Run
{
    int status = -1;
    QString errors;
    QImage image;
};

Run preview(const QStringList &arguments, const QString &out)
{
    const PreviewProcess process = PreviewProcess::run(arguments + QStringList{QStringLiteral("--out"), out});
    Run run;
    run.status = process.status;
    run.errors = QString::fromLocal8Bit(process.errors);
    run.image = QImage(out);
    return run;
}

QStringList bar(const QString &size, const QStringList &sets = {})
{
    QStringList arguments{QStringLiteral("--control"), QStringLiteral("Lumisong.ProgressBar"),
                          QStringLiteral("--size"), size};
    for (const QString &set : sets)
        arguments << QStringLiteral("--set") << set;
    return arguments;
}

QRgb rgb(Colour colour)
{
    return qRgba(colour.red(), colour.green(), colour.blue(), 255);
}

} // namespace

class tst_Preview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void rendersTheDesignedBar();
    void assignmentsRunInOrder();
    void bagIsReadBeforeAssignments();
    void errors_data();
    void errors();

private:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

void tst_Preview::rendersTheDesignedBar()
{
    const Run run = preview(bar(QStringLiteral("301x17"),
                                {QStringLiteral("theme=9"), QStringLiteral("TextStyle=0"),
                                 QStringLiteral("Max=0x4"), QStringLiteral("Value=1")}),
                            path("bar.png"));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.image.size(), QSize(301, 17));
    QVERIFY(run.image.hasAlphaChannel());
    // Outside the window shape alpha is 0, inside 255.
    QCOMPARE(qAlpha(run.image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(run.image.pixel(300, 16)), 0);
    QCOMPARE(qAlpha(run.image.pixel(150, 8)), 255);
    const auto palette = *ProgressBarPalette::forTheme(9, Colour(), Colour());
    QCOMPARE(run.image.pixel(150, 0), rgb(palette.at(ProgressBarPalette::Border)));
    // round(17 / 2) = 8 rows in the upper half; fill round(301 / 4) = 75 columns.
    QCOMPARE(run.image.pixel(74, 8), rgb(palette.at(ProgressBarPalette::FillSecondStart)));
    QCOMPARE(run.image.pixel(75, 8), rgb(palette.at(ProgressBarPalette::BackgroundSecondStart)));
}

void tst_Preview::assignmentsRunInOrder()
{
    const Run minFirst = preview(bar(QStringLiteral("200x20"),
                                     {QStringLiteral("Min=150"), QStringLiteral("Max=200")}),
                                 path("a.png"));
    const Run equivalent = preview(bar(QStringLiteral("200x20"),
                                       {QStringLiteral("Max=200"), QStringLiteral("Value=99")}),
                                   path("b.png"));
    const Run maxFirst = preview(bar(QStringLiteral("200x20"),
                                     {QStringLiteral("Max=200"), QStringLiteral("Min=150")}),
                                 path("c.png"));
    QCOMPARE(minFirst.status, 0);
    QCOMPARE(minFirst.image, equivalent.image);
    QVERIFY(minFirst.image != maxFirst.image);
}

void tst_Preview::bagIsReadBeforeAssignments()
{
    QFile bag(path("bag.json"));
    QVERIFY(bag.open(QIODevice::WriteOnly));
    bag.write(R"j({"Theme": 8, "TextEffectColor": {"colour": "rgb(255, 255, 255)"},
                  "TextFont": {"font": {"face": "DejaVu Sans", "points": 9}}, "Value": 10})j");
    bag.close();
    const Run fromBag = preview(bar(QStringLiteral("120x30"), {QStringLiteral("Value=70")})
                                    << QStringLiteral("--bag") << bag.fileName(),
                                path("bag.png"));
    const Run fromSets = preview(bar(QStringLiteral("120x30"),
                                     {QStringLiteral("Theme=8"), QStringLiteral("TextStyle=1"),
                                      QStringLiteral("TextEffect=1"), QStringLiteral("Text=ProgressBar1"),
                                      QStringLiteral("TextFont=DejaVu Sans,9"),
                                      QStringLiteral("Value=70")}),
                                 path("sets.png"));
    QCOMPARE(fromBag.status, 0);
    QCOMPARE(fromSets.status, 0);
    QCOMPARE(fromBag.image, fromSets.image);
}

void tst_Preview::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown control") << QStringList{QStringLiteral("--control"), QStringLiteral("Nope"),
                                                    QStringLiteral("--size"), QStringLiteral("5x5")}
                                     << QStringLiteral("unknown control");
    QTest::newRow("unknown property") << bar(QStringLiteral("5x5"), {QStringLiteral("Colour=1")})
                                      << QStringLiteral("unknown property");
    QTest::newRow("widget property") << bar(QStringLiteral("5x5"), {QStringLiteral("geometry=1")})
                                     << QStringLiteral("unknown property");
    QTest::newRow("malformed integer") << bar(QStringLiteral("5x5"), {QStringLiteral("Max=ten")})
                                       << QStringLiteral("malformed value");
    QTest::newRow("malformed colour") << bar(QStringLiteral("5x5"), {QStringLiteral("TextForeColor=rgb(1,2)")})
                                      << QStringLiteral("malformed value");
    QTest::newRow("malformed boolean") << bar(QStringLiteral("5x5"), {QStringLiteral("Enabled=yes")})
                                       << QStringLiteral("malformed value");
    QTest::newRow("malformed font") << bar(QStringLiteral("5x5"), {QStringLiteral("TextFont=Sans")})
                                    << QStringLiteral("malformed value");
    QTest::newRow("no equals") << bar(QStringLiteral("5x5"), {QStringLiteral("Max")})
                               << QStringLiteral("Name=Value");
    QTest::newRow("bad size") << bar(QStringLiteral("5by5")) << QStringLiteral("malformed size");
    QTest::newRow("zero size") << bar(QStringLiteral("0x5")) << QStringLiteral("malformed size");
    QTest::newRow("missing bag") << (bar(QStringLiteral("5x5")) << QStringLiteral("--bag")
                                                               << QStringLiteral("/nonexistent/bag.json"))
                                 << QStringLiteral("cannot read");
    QTest::newRow("no size") << QStringList{QStringLiteral("--control"), QStringLiteral("Lumisong.ProgressBar")}
                             << QStringLiteral("--size");
}

void tst_Preview::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString out = path("error.png");
    QFile::remove(out);
    const Run run = preview(arguments, out);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(tst_Preview)
#include "tst_preview.moc"
