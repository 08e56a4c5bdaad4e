#include <QtTest>

#include "controls/progressbar/progressbarlayout.h"
#include "controls/progressbar/progressbarpalette.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;

class tst_ProgressBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void fillLength_data();
    void fillLength();
    void bands();
    void percentText_data();
    void percentText();
    void captions();
    void captionPosition_data();
    void captionPosition();
    void captionPasses();
    void palettes();
};

namespace {

ProgressBarState bar(int value, int max, int orientation = 1)
{
    ProgressBarState state;
    state.value = value;
    state.max = max;
    state.orientations = orientation;
    state.textStyle = 3;
    return state;
}

} // namespace

void tst_ProgressBarLayout::fillLength_data()
{
    Test::addColumns<QSize, int, int, int, int>({"size", "value", "max", "orientation", "fill"});
    QTest::newRow("a third of 773") << QSize(773, 39) << 1 << 3 << 1 << 258;
    QTest::newRow("full") << QSize(773, 39) << 3 << 3 << 1 << 773;
    QTest::newRow("half of 5 rounds to even") << QSize(5, 9) << 1 << 2 << 1 << 2;
    QTest::newRow("half of 7 rounds to even") << QSize(7, 9) << 1 << 2 << 1 << 4;
    QTest::newRow("vertical uses the height") << QSize(20, 200) << 1 << 4 << 2 << 50;
    QTest::newRow("vertical full") << QSize(20, 37) << 9 << 9 << 2 << 37;
    QTest::newRow("Min plays no part") << QSize(100, 9) << 150 << 200 << 1 << 75;
    QTest::newRow("no Max yet") << QSize(100, 9) << 0 << 0 << 1 << 0;
    QTest::newRow("huge Max") << QSize(100, 9) << 1 << 2147483647 << 1 << 0;
}

void tst_ProgressBarLayout::fillLength()
{
    QFETCH(QSize, size);
    QFETCH(int, value);
    QFETCH(int, max);
    QFETCH(int, orientation);
    QFETCH(int, fill);
    QCOMPARE(ProgressBarLayout::compute(bar(value, max, orientation), size).fill, fill);
}

void tst_ProgressBarLayout::bands()
{
    using P = ProgressBarPalette;
    // Horizontal: halves split at round(H / 2), 39 / 2 = 19.5 -> 20.
    ProgressBarLayout layout = ProgressBarLayout::compute(bar(1, 3), QSize(773, 39));
    QCOMPARE(layout.bands.size(), 4);
    QCOMPARE(layout.bands[0].rect, (PixelRect{0, 0, 773, 20}));
    QCOMPARE(layout.bands[1].rect, (PixelRect{0, 20, 773, 39}));
    QCOMPARE(layout.bands[2].rect, (PixelRect{0, 0, 258, 20}));
    QCOMPARE(layout.bands[3].rect, (PixelRect{0, 20, 258, 39}));
    QCOMPARE(layout.bands[3].start, P::FillSecondStart);
    QCOMPARE(layout.bands[0].direction, 1);
    QCOMPARE(layout.border, (PixelRect{0, 0, 772, 38}));

    // Vertical: halves split at round(W / 2), 37 / 2 = 18.5 -> 18; each runs left to right.
    layout = ProgressBarLayout::compute(bar(1, 2, 2), QSize(37, 100));
    QCOMPARE(layout.bands[0].rect, (PixelRect{0, 0, 18, 100}));
    QCOMPARE(layout.bands[1].rect, (PixelRect{18, 0, 37, 100}));
    QCOMPARE(layout.bands[2].rect, (PixelRect{0, 0, 18, 50}));
    QCOMPARE(layout.bands[3].rect, (PixelRect{18, 0, 37, 50}));
    QCOMPARE(layout.bands[2].direction, 0);

    // Value 0 draws no fill; other orientations draw no gradient at all.
    QCOMPARE(ProgressBarLayout::compute(bar(0, 3), QSize(50, 9)).bands.size(), 2);
    QVERIFY(ProgressBarLayout::compute(bar(2, 3, 3), QSize(50, 9)).bands.isEmpty());
    QVERIFY(ProgressBarLayout::compute(bar(2, 3, 0), QSize(50, 9)).bands.isEmpty());
}

void tst_ProgressBarLayout::percentText_data()
{
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("text");
    QTest::newRow("a third") << 100.0 / 3 << QStringLiteral("33.3333333333333");
    QTest::newRow("whole") << 50.0 << QStringLiteral("50");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("eighth") << 12.5 << QStringLiteral("12.5");
    QTest::newRow("two thirds") << 200.0 / 3 << QStringLiteral("66.6666666666667");
    QTest::newRow("hundred") << 100.0 << QStringLiteral("100");
}

void tst_ProgressBarLayout::percentText()
{
    QFETCH(double, percent);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ProgressBarLayout::percentText(percent), text);
}

void tst_ProgressBarLayout::captions()
{
    QLocale::setDefault(QLocale::c());
    ProgressBarState state = bar(1, 3);
    state.text = QStringLiteral("文字");
    QCOMPARE(ProgressBarLayout::captionText(state, 100.0 / 3), QStringLiteral("文字"));
    state.textStyle = 1;
    QCOMPARE(ProgressBarLayout::captionText(state, 100.0 / 3), QStringLiteral("1"));
    state.textStyle = 2;
    QCOMPARE(ProgressBarLayout::compute(state, QSize(773, 39)).caption, QStringLiteral("33.3333333333333%"));
    for (int style : {0, 4, -1}) {
        state.textStyle = style;
        QVERIFY(!ProgressBarLayout::captionText(state, 10).has_value());
    }
}

void tst_ProgressBarLayout::captionPosition_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QPoint>("position");
    // W 101, H 30, text 40 x 13: W/2 - TW/2 - 1 = 29.5 -> 30 (even), H/2 - TH/2 - 1 = 7.5 -> 8,
    // W - TW - 3 = 58, H - TH - 1 = 16.
    QTest::newRow("1 top left") << 1 << QPoint(1, 0);
    QTest::newRow("2 middle left") << 2 << QPoint(1, 8);
    QTest::newRow("3 bottom left") << 3 << QPoint(1, 16);
    QTest::newRow("4 top centre") << 4 << QPoint(30, 0);
    QTest::newRow("5 centre") << 5 << QPoint(30, 8);
    QTest::newRow("6 bottom centre") << 6 << QPoint(30, 16);
    QTest::newRow("7 top right") << 7 << QPoint(58, 0);
    QTest::newRow("8 middle right") << 8 << QPoint(58, 8);
    QTest::newRow("9 bottom right") << 9 << QPoint(58, 16);
    QTest::newRow("0 flush with the corner") << 0 << QPoint(0, 0);
    QTest::newRow("10") << 10 << QPoint(0, 0);
}

void tst_ProgressBarLayout::captionPosition()
{
    QFETCH(int, alignment);
    QFETCH(QPoint, position);
    QCOMPARE(ProgressBarLayout::captionPosition(alignment, QSize(101, 30), QSize(40, 13)), position);
}

void tst_ProgressBarLayout::captionPasses()
{
    using Pass = ProgressBarLayout::CaptionPass;
    auto describe = [](int effect) {
        QStringList result;
        for (const Pass &pass : ProgressBarLayout::captionPasses(effect))
            result << QStringLiteral("%1%2,%3")
                          .arg(QLatin1Char("TEG"[pass.ink]))
                          .arg(pass.offset.x())
                          .arg(pass.offset.y());
        return result.join(QLatin1Char(' '));
    };
    QCOMPARE(describe(1), QStringLiteral("T0,0"));
    QCOMPARE(describe(2), QStringLiteral("E-1,-1 G1,1 T0,0"));
    QCOMPARE(describe(3), QStringLiteral("E1,1 G-1,0 T0,0"));
    QCOMPARE(describe(4), QStringLiteral("E1,0 E-1,0 E0,-1 E0,1 T0,0"));
    QCOMPARE(describe(5), QStringLiteral("E1,1 T0,0"));
    QCOMPARE(describe(6), QString());
    QCOMPARE(describe(0), QString());
}

void tst_ProgressBarLayout::palettes()
{
    using P = ProgressBarPalette;
    const auto theme8 = P::forTheme(8, Colour(), Colour());
    QVERIFY(theme8);
    QCOMPARE(theme8->at(P::BackgroundFirstStart), Colour::rgb(250, 253, 254));
    QCOMPARE(theme8->at(P::FillSecondEnd), Colour::rgb(63, 226, 246));
    QCOMPARE(theme8->at(P::Border), Colour::rgb(23, 139, 211));
    QCOMPARE(P::forTheme(1, Colour(), Colour())->at(P::Border), Colour::rgb(204, 168, 62));
    QCOMPARE(P::forTheme(9, Colour(), Colour())->at(P::FillFirstEnd), Colour::rgb(108, 255, 108));
    QVERIFY(!P::forTheme(0, Colour(), Colour()));
    QVERIFY(!P::forTheme(11, Colour(), Colour()));

    // The custom theme with both colours black.
    const auto black = P::forTheme(10, Colour(), Colour());
    QCOMPARE(black->at(P::BackgroundFirstStart), Colour::rgb(180, 180, 180));
    QCOMPARE(black->at(P::BackgroundFirstEnd), Colour::rgb(50, 50, 50));
    QCOMPARE(black->at(P::BackgroundSecondStart), Colour::rgb(0, 0, 0));
    QCOMPARE(black->at(P::BackgroundSecondEnd), Colour::rgb(80, 80, 80));
    QCOMPARE(black->at(P::Border), Colour::rgb(0, 0, 0));
    const auto custom = P::forTheme(10, Colour::rgb(200, 10, 0), Colour::rgb(1, 2, 3));
    QCOMPARE(custom->at(P::FillFirstStart), Colour::rgb(255, 190, 180));
    QCOMPARE(custom->at(P::FillSecondStart), Colour::rgb(200, 10, 0));
    QCOMPARE(custom->at(P::BackgroundSecondEnd), Colour::rgb(81, 82, 83));

    QCOMPARE(P::grey(Colour::rgb(23, 139, 211)), Colour::rgb(124, 124, 124)); // 373 / 3
    QCOMPARE(P::grey(Colour::rgb(1, 0, 1)), Colour::rgb(1, 1, 1));           // 2 / 3
    QCOMPARE(P::grey(Colour::rgb(255, 255, 255)), Colour::rgb(255, 255, 255));
    QCOMPARE(theme8->greyed().at(P::Border), Colour::rgb(124, 124, 124));
}

QTEST_APPLESS_MAIN(tst_ProgressBarLayout)
#include "tst_progressbarlayout.moc"
