#include <QtTest>

#include <QFontMetrics>

#include "platform/colour.h"
#include "platform/roundrect.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"

using namespace Lumisong;

Q_DECLARE_METATYPE(Lumisong::PixelRect)

namespace {

const Colour Black = Colour::rgb(0, 0, 0);
const Colour Ink = Colour::rgb(10, 20, 30);

using Points = QList<QPoint>;

// The painted pixels of a surface cleared to black, row by row.
Points painted(const Surface &surface)
{
    Points result;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != Black)
                result << QPoint(x, y);
    return result;
}

Points sorted(Points points)
{
    std::sort(points.begin(), points.end(), [](QPoint a, QPoint b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    return points;
}

bool inRegion(const QRegion &region, int x, int y)
{
    return region.contains(QPoint(x, y));
}

} // namespace

class tst_Surface : public QObject
{
    Q_OBJECT

private slots:
    void colourText_data();
    void colourText();
    void systemColours();

    void pixelsOutsideAreIgnored();
    void lines_data();
    void lines();
    void rectanglesAreRightBottomExclusive_data();
    void rectanglesAreRightBottomExclusive();
    void gradientRows_data();
    void gradientRows();
    void clippedGradientKeepsItsSpan();
    void rowTransfer();
    void regionCorners_data();
    void regionCorners();
    void regionIsSymmetric();
    void roundOutline();
    void text();
    void emptySurface();
};

void tst_Surface::colourText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("value");
    QTest::newRow("rgb") << "rgb(255, 128, 1)" << true << 0x0180FFu;
    QTest::newRow("rgb spaced") << " RGB( 0 ,0,2 ) " << true << 0x020000u;
    QTest::newRow("rgb over 255") << "rgb(256, 0, 0)" << false << 0u;
    QTest::newRow("hex system") << "0x8000000F" << true << 0x8000000Fu;
    QTest::newRow("decimal") << "16777215" << true << 0xFFFFFFu;
    QTest::newRow("minus one") << "-1" << true << Colour::Invalid;
    QTest::newRow("hex empty") << "0x" << false << 0u;
    QTest::newRow("words") << "white" << false << 0u;
    QTest::newRow("rgb short") << "rgb(1, 2)" << false << 0u;
}

void tst_Surface::colourText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(quint32, value);
    const auto colour = Colour::fromText(text);
    QCOMPARE(colour.has_value(), valid);
    if (valid) {
        QCOMPARE(colour->value(), value);
        QCOMPARE(Colour::fromText(colour->toText()), colour);
    }
}

void tst_Surface::systemColours()
{
    SystemColours::pinStandard();
    QCOMPARE(Colour::system(SystemColours::ButtonFace).resolved(), Colour::rgb(240, 240, 240));
    QCOMPARE(Colour::system(SystemColours::GrayText).resolved(), Colour::rgb(109, 109, 109));
    QCOMPARE(Colour::system(SystemColours::InfoBackground).resolved(), Colour::rgb(255, 255, 225));
    QCOMPARE(Colour::rgb(1, 2, 3).resolved(), Colour::rgb(1, 2, 3));
    // Unknown indices and other high-bit values cannot be translated.
    QCOMPARE(Colour::system(99).resolved().value(), Colour::Invalid);
    QCOMPARE(Colour(0x01000000u).resolved().value(), Colour::Invalid);
    SystemColours::pin({{SystemColours::ButtonFace, Colour::rgb(1, 1, 1)}});
    QCOMPARE(Colour::system(SystemColours::ButtonFace).resolved(), Colour::rgb(1, 1, 1));
    QCOMPARE(Colour::system(SystemColours::ButtonText).resolved(), Colour::rgb(0, 0, 0));
    SystemColours::unpin();
    QVERIFY(!SystemColours::isPinned());
    QVERIFY(Colour::system(SystemColours::ButtonFace).resolved().value() != Colour::Invalid);
    SystemColours::pinStandard();
}

void tst_Surface::pixelsOutsideAreIgnored()
{
    Surface surface(QSize(3, 2));
    surface.setPixel(-1, 0, Ink);
    surface.setPixel(3, 0, Ink);
    surface.setPixel(0, 2, Ink);
    surface.setPixel(2, 1, Ink);
    QCOMPARE(painted(surface), Points{QPoint(2, 1)});
    QCOMPARE(surface.pixel(2, 1), Ink);
    QCOMPARE(surface.pixel(-1, 0).value(), Colour::Invalid);
}

void tst_Surface::lines_data()
{
    QTest::addColumn<QList<int>>("line");
    QTest::addColumn<Points>("pixels");
    QTest::newRow("right") << QList<int>{1, 1, 4, 1} << Points{{1, 1}, {2, 1}, {3, 1}};
    QTest::newRow("left") << QList<int>{4, 1, 1, 1} << Points{{2, 1}, {3, 1}, {4, 1}};
    QTest::newRow("down") << QList<int>{0, 0, 0, 3} << Points{{0, 0}, {0, 1}, {0, 2}};
    QTest::newRow("up") << QList<int>{0, 3, 0, 0} << Points{{0, 1}, {0, 2}, {0, 3}};
    QTest::newRow("point") << QList<int>{2, 2, 2, 2} << Points{};
    QTest::newRow("diagonal") << QList<int>{0, 0, 3, 3} << Points{{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("shallow") << QList<int>{0, 0, 4, 2} << Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}};
    QTest::newRow("clipped") << QList<int>{-5, 4, 2, 4} << Points{{0, 4}, {1, 4}};
    QTest::newRow("far outside") << QList<int>{-2000000000, 2, 2000000000, 3}
                                 << Points{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}};
    QTest::newRow("off the image") << QList<int>{10, 10, 20, 30} << Points{};
}

void tst_Surface::lines()
{
    QFETCH(QList<int>, line);
    QFETCH(Points, pixels);
    Surface surface(QSize(6, 6));
    surface.clear(Black);
    surface.drawLine(line[0], line[1], line[2], line[3], Ink);
    QCOMPARE(painted(surface), sorted(pixels));
}

void tst_Surface::rectanglesAreRightBottomExclusive_data()
{
    QTest::addColumn<bool>("fill");
    QTest::addColumn<PixelRect>("rect");
    QTest::addColumn<Points>("pixels");
    QTest::newRow("fill") << true << PixelRect{1, 1, 3, 2} << Points{{1, 1}, {2, 1}};
    QTest::newRow("fill empty") << true << PixelRect{2, 2, 2, 4} << Points{};
    QTest::newRow("fill reversed") << true << PixelRect{3, 3, 1, 1} << Points{};
    QTest::newRow("fill clipped") << true << PixelRect{-9, 2, 1, 9} << Points{{0, 2}, {0, 3}};
    QTest::newRow("frame") << false << PixelRect{0, 0, 3, 3}
                           << Points{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    // A frame one larger than the surface shows only its left and top edges.
    QTest::newRow("frame past edge") << false << PixelRect{0, 0, 5, 5}
                                     << Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {0, 2}, {0, 3}};
    QTest::newRow("frame thin") << false << PixelRect{1, 1, 2, 3} << Points{{1, 1}, {1, 2}};
}

void tst_Surface::rectanglesAreRightBottomExclusive()
{
    QFETCH(bool, fill);
    QFETCH(PixelRect, rect);
    QFETCH(Points, pixels);
    Surface surface(QSize(4, 4));
    surface.clear(Black);
    if (fill)
        surface.fillRect(rect, Ink);
    else
        surface.frameRect(rect, Ink);
    QCOMPARE(painted(surface), sorted(pixels));
}

void tst_Surface::gradientRows_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("span");
    QTest::addColumn<QList<int>>("reds");
    // (start * (n - i) + end * i) div n: starts exactly, approaches the end.
    QTest::newRow("vertical 4") << 1 << 4 << QList<int>{0, 63, 127, 191};
    QTest::newRow("horizontal 4") << 0 << 4 << QList<int>{0, 63, 127, 191};
    QTest::newRow("vertical 1") << 1 << 1 << QList<int>{0};
    QTest::newRow("horizontal 3") << 0 << 3 << QList<int>{0, 85, 170};
}

void tst_Surface::gradientRows()
{
    QFETCH(int, mode);
    QFETCH(int, span);
    QFETCH(QList<int>, reds);
    Surface surface(QSize(5, 5));
    surface.clear(Ink);
    const bool vertical = mode == 1;
    const PixelRect rect = vertical ? PixelRect{1, 0, 3, span} : PixelRect{0, 1, span, 3};
    surface.gradientRect(rect, Colour::rgb(0, 200, 255), Colour::rgb(255, 100, 0),
                         Surface::GradientMode(mode));
    for (int i = 0; i < span; ++i) {
        const Colour got = vertical ? surface.pixel(2, i) : surface.pixel(i, 2);
        QCOMPARE(got.red(), reds[i]);
        QCOMPARE(got.green(), (200 * (span - i) + 100 * i) / span);
        QCOMPARE(got.blue(), 255 * (span - i) / span);
    }
    // Outside the rectangle nothing changes.
    QCOMPARE(vertical ? surface.pixel(0, 0) : surface.pixel(0, 0), Ink);
    QCOMPARE(vertical ? surface.pixel(3, 0) : surface.pixel(0, 3), Ink);
}

void tst_Surface::clippedGradientKeepsItsSpan()
{
    Surface surface(QSize(2, 2));
    surface.gradientRect({-2, 0, 2, 2}, Colour::rgb(0, 0, 0), Colour::rgb(200, 0, 0),
                         Surface::GradientMode::Horizontal);
    QCOMPARE(surface.pixel(0, 0).red(), 100);
    QCOMPARE(surface.pixel(1, 1).red(), 150);
}

void tst_Surface::rowTransfer()
{
    Surface surface(QSize(3, 2));
    surface.clear(Black);
    const uchar bgr[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    surface.transferRow24(-1, 1, bgr, 4);
    QCOMPARE(surface.pixel(0, 1), Colour::rgb(6, 5, 4));
    QCOMPARE(surface.pixel(2, 1), Colour::rgb(12, 11, 10));
    QCOMPARE(surface.pixel(0, 0), Black);
    surface.transferRow24(0, 2, bgr, 4); // below the image
    surface.transferRow24(0, 0, bgr, 0);
    QCOMPARE(surface.pixel(0, 0), Black);
}

void tst_Surface::regionCorners_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("ellipse");
    QTest::addColumn<QList<int>>("topInsets"); // cut from the left of rows 0, 1, ...
    QTest::newRow("plain 0") << QSize(8, 6) << 0 << QList<int>{0, 0, 0};
    QTest::newRow("plain 1") << QSize(8, 6) << 1 << QList<int>{0, 0, 0};
    QTest::newRow("2 cuts the corner") << QSize(8, 6) << 2 << QList<int>{1, 0, 0};
    QTest::newRow("3 cuts the corner") << QSize(8, 6) << 3 << QList<int>{1, 0, 0};
    QTest::newRow("5") << QSize(10, 8) << 5 << QList<int>{2, 1, 0, 0};
    QTest::newRow("huge is an ellipse") << QSize(5, 5) << 1000 << QList<int>{2, 1, 0};
    QTest::newRow("2 x 2 keeps its pixels") << QSize(2, 2) << 5 << QList<int>{0};
    QTest::newRow("1 x 1") << QSize(1, 1) << 5 << QList<int>{0};
}

void tst_Surface::regionCorners()
{
    QFETCH(QSize, size);
    QFETCH(int, ellipse);
    QFETCH(QList<int>, topInsets);
    const QRegion region = Surface::roundRectRegion({0, 0, size.width(), size.height()}, ellipse, ellipse);
    QVERIFY(region.boundingRect() == QRect(QPoint(0, 0), size));
    for (int row = 0; row < topInsets.size(); ++row) {
        const int inset = topInsets[row];
        const int bottomRow = size.height() - 1 - row;
        const int lastColumn = size.width() - 1;
        for (int y : {row, bottomRow}) {
            if (inset > 0) {
                QVERIFY2(!inRegion(region, inset - 1, y), qPrintable(QStringLiteral("row %1").arg(y)));
                QVERIFY(!inRegion(region, lastColumn - inset + 1, y));
            }
            QVERIFY2(inRegion(region, inset, y), qPrintable(QStringLiteral("row %1").arg(y)));
            QVERIFY(inRegion(region, lastColumn - inset, y));
        }
    }
    QVERIFY(!inRegion(region, size.width(), 0));
    QVERIFY(!inRegion(region, 0, size.height()));
}

void tst_Surface::regionIsSymmetric()
{
    for (const QSize size : {QSize(7, 4), QSize(12, 9), QSize(30, 3), QSize(3, 30)}) {
        for (int ellipse : {2, 4, 7, 9, 40}) {
            const QRegion region = Surface::roundRectRegion({0, 0, size.width(), size.height()},
                                                            ellipse, ellipse);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const bool in = inRegion(region, x, y);
                    QCOMPARE(inRegion(region, size.width() - 1 - x, y), in);
                    QCOMPARE(inRegion(region, x, size.height() - 1 - y), in);
                }
        }
    }
}

void tst_Surface::roundOutline()
{
    // The border of a 12 x 8 bar: box (0, 0)-(11, 7), ellipse 5.
    Surface surface(QSize(12, 8));
    surface.clear(Black);
    surface.frameRoundRect({0, 0, 11, 7}, 5, 5, Ink);
    const RoundRect shape({0, 0, 11, 7}, 5, 5);
    for (int y = 0; y < 8; ++y) {
        QCOMPARE(surface.pixel(11, y), Black); // the last column keeps what was there
        for (int x = 0; x < 12; ++x) {
            const RoundRect::Span span = shape.span(y);
            const bool inside = x >= span.left && x < span.right;
            if (!inside)
                QCOMPARE(surface.pixel(x, y), Black);
        }
    }
    QCOMPARE(surface.pixel(10, 3), Ink); // straight right edge on W - 2
    QCOMPARE(surface.pixel(5, 6), Ink);  // straight bottom edge on H - 2
    QCOMPARE(surface.pixel(5, 0), Ink);
    QCOMPARE(surface.pixel(0, 3), Ink);
    QCOMPARE(surface.pixel(0, 0), Black); // cut corner
    QCOMPARE(surface.pixel(1, 1), Ink);   // the curve is closed
    QCOMPARE(surface.pixel(5, 3), Black); // inside left alone
    QCOMPARE(surface.pixel(11, 7), Black);
}

void tst_Surface::text()
{
    Surface surface(QSize(80, 30));
    surface.clear(Black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    surface.setFont(font);
    QCOMPARE(surface.font().pixelSize(), 12); // 9 points at 96 dots per inch
    const QSize extent = surface.textExtent(QStringLiteral("Wg"));
    QVERIFY(extent.width() > 0);
    QCOMPARE(extent.height(), QFontMetrics(surface.font()).height());
    QCOMPARE(surface.textExtent(QString()).width(), 0);
    surface.drawText(10, 5, QStringLiteral("Wg"), Colour::rgb(255, 255, 255));
    // Glyphs stay inside the measured box; the background stays as it was.
    int inside = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            const bool inBox = x >= 10 && x < 10 + extent.width() + 2 && y >= 5 && y < 5 + extent.height();
            if (surface.pixel(x, y) != Black) {
                QVERIFY2(inBox, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                ++inside;
            }
        }
    QVERIFY(inside > 0);
    surface.drawText(-500, -500, QStringLiteral("far"), Ink);
    surface.drawText(5000, 5, QStringLiteral("far"), Ink);
}

void tst_Surface::emptySurface()
{
    Surface surface;
    QVERIFY(surface.isEmpty());
    surface.clear(Ink);
    surface.setPixel(0, 0, Ink);
    surface.drawLine(0, 0, 5, 5, Ink);
    surface.fillRect({0, 0, 5, 5}, Ink);
    surface.frameRoundRect({0, 0, 5, 5}, 3, 3, Ink);
    surface.gradientRect({0, 0, 5, 5}, Ink, Black, Surface::GradientMode::Vertical);
    surface.drawText(0, 0, QStringLiteral("x"), Ink);
    QVERIFY(surface.windowRegion().isEmpty());
    surface.resize(QSize(3, 3));
    QCOMPARE(surface.windowRegion(), QRegion(0, 0, 3, 3));
    surface.setWindowRegion(QRegion(1, 1, 10, 10));
    QCOMPARE(surface.windowRegion(), QRegion(1, 1, 2, 2));
}

QTEST_MAIN(tst_Surface)
#include "tst_surface.moc"
