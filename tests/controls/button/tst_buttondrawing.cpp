// The button's arithmetic and layout rules: colour shifts, averages, the
// colour-scheme step, gradient ramps, edges, caption layout and picture
// composition.

#include <QTest>

#include <climits>

#include "controls/button/buttoncanvas.h"
#include "controls/button/buttonenums.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/captionlayout.h"
#include "controls/button/colourmath.h"
#include "controls/button/picturecomposer.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

Colour grey(int v)
{
    return Colour::rgb(v, v, v);
}

ButtonPicturePtr solidPicture(int w, int h, QRgb argb, bool alpha, const char *source = "p.png")
{
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(argb);
    return ButtonPicture::from(Picture{QString::fromLatin1(source), image});
}

} // namespace

class ButtonDrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SystemColours::pinStandard(); }

    void shiftColor_data();
    void shiftColor();
    void averageColor_data();
    void averageColor();
    void colourScheme_data();
    void colourScheme();
    void gradientRamp_data();
    void gradientRamp();
    void gradientClipsAndSkipsEmpty();
    void edges_data();
    void edges();
    void frameBoxOfWPlusOneShowsOnlyTwoEdges();
    void captionLayout_data();
    void captionLayout();
    void pictureEffectTables();
    void pictureComposition_data();
    void pictureComposition();
    void pictureClipsAtEveryEdge();
    void iconTransparencyIsLightGrey();
};

void ButtonDrawingTest::shiftColor_data()
{
    QTest::addColumn<float>("amount");
    QTest::addColumn<int>("added");
    const QList<QPair<float, int>> table = {
        {0.01f, 3},  {0.02f, 5},  {0.03f, 8},  {0.04f, 10}, {0.05f, 13}, {0.06f, 15}, {0.07f, 18},
        {0.08f, 20}, {0.09f, 23}, {0.10f, 26}, {0.12f, 31}, {0.14f, 36}, {0.15f, 38}, {0.16f, 41},
        {0.20f, 51}, {0.22f, 56}, {0.23f, 59}, {0.25f, 64}, {0.30f, 77}, {0.33f, 84}, {0.34f, 87},
        {0.36f, 92}, {0.40f, 102}};
    for (const auto &[amount, added] : table) {
        QTest::addRow("+%.2f", double(amount)) << amount << added;
        QTest::addRow("-%.2f", double(amount)) << -amount << -added;
    }
}

void ButtonDrawingTest::shiftColor()
{
    QFETCH(float, amount);
    QFETCH(int, added);
    QCOMPARE(ShiftColor(Colour::rgb(120, 110, 130), amount),
             Colour::rgb(120 + added, 110 + added, 130 + added));
    // Clamped at the ends, never wrapped.
    QCOMPARE(ShiftColor(grey(255), std::abs(amount)), grey(255));
    QCOMPARE(ShiftColor(grey(0), -std::abs(amount)), grey(0));
}

void ButtonDrawingTest::averageColor_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("mean");
    QTest::newRow("white and black") << 255 << 0 << 128;
    QTest::newRow("1 and 2, tie to even") << 1 << 2 << 2;
    QTest::newRow("3 and 4, tie to even") << 3 << 4 << 4;
    // Halves that half-up rounding would lift: ties go down to the even neighbour.
    QTest::newRow("2 and 3, tie down to even") << 2 << 3 << 2;
    QTest::newRow("0 and 1, tie down to even") << 0 << 1 << 0;
    QTest::newRow("254 and 255, tie down to even") << 254 << 255 << 254;
    QTest::newRow("equal") << 77 << 77 << 77;
}

void ButtonDrawingTest::averageColor()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, mean);
    QCOMPARE(AverageColor(grey(a), grey(b)), grey(mean));
    QCOMPARE(AverageColor(Colour::rgb(a, 0, 255), Colour::rgb(b, 0, 255)), Colour::rgb(mean, 0, 255));
}

void ButtonDrawingTest::colourScheme_data()
{
    Test::addColumns<int, int, int, Colour, bool>(
        {"style", "schemeBefore", "schemeAfter", "back", "focusRect"});
    const Colour custom = Colour::rgb(1, 2, 3);
    const Colour face = grey(240);
    QTest::newRow("sunrise keeps custom") << 5 << 3 << 3 << custom << false;
    QTest::newRow("amber resets to blue") << 8 << 3 << 0 << Colour::rgb(173, 209, 255) << false;
    QTest::newRow("glass turns silver, shifted") << 3 << 0 << 2 << grey(227) << false;
    QTest::newRow("sunrise silver shifted by 0.15") << 5 << 2 << 2 << Colour::rgb(198, 196, 224) << false;
    QTest::newRow("satin olive becomes silver") << 9 << 1 << 2 << Colour::rgb(213, 214, 225) << true;
    QTest::newRow("classic takes the face") << 0 << 3 << 0 << face << true;
    QTest::newRow("hot flat keeps scheme, takes face") << 12 << 3 << 3 << face << false;
    QTest::newRow("themed leaves colour") << 13 << 0 << 0 << custom << false;
    QTest::newRow("unknown style leaves colour") << 42 << 1 << 1 << custom << false;
    QTest::newRow("bevel olive") << 10 << 1 << 0 << Colour::rgb(173, 209, 255) << false;
}

void ButtonDrawingTest::colourScheme()
{
    QFETCH(int, style);
    QFETCH(int, schemeBefore);
    QFETCH(int, schemeAfter);
    QFETCH(Colour, back);
    QFETCH(bool, focusRect);
    ButtonProperties p;
    p.buttonStyle = style;
    p.colorScheme = schemeBefore;
    p.backColor = Colour::rgb(1, 2, 3);
    p.foreColor = Colour::rgb(9, 9, 9);
    if (const auto family = DefaultSchemeForStyle(style))
        p.colorScheme = *family;
    ApplyColorScheme(p, style, p.colorScheme);
    QCOMPARE(p.colorScheme, schemeAfter);
    QCOMPARE(p.backColor, back);
    QCOMPARE(p.foreColor, Colour::rgb(0, 0, 0));
    QCOMPARE(p.showFocusRect, focusRect);
}

void ButtonDrawingTest::gradientRamp_data()
{
    Test::addColumns<int, QSize, QPoint, Colour>({"direction", "size", "at", "expected"});
    const Colour from = Colour::rgb(0, 100, 255);
    const Colour to = Colour::rgb(255, 0, 255);
    Q_UNUSED(from);
    Q_UNUSED(to);
    QTest::newRow("vertical height 1 halves each end") << 1 << QSize(5, 1) << QPoint(2, 0)
                                                       << Colour::rgb(127, 50, 254);
    QTest::newRow("horizontal width 1") << 0 << QSize(1, 4) << QPoint(0, 3) << Colour::rgb(127, 50, 254);
    QTest::newRow("vertical first row") << 1 << QSize(3, 5) << QPoint(1, 0) << Colour::rgb(0, 100, 255);
    QTest::newRow("vertical last row reaches end") << 1 << QSize(3, 5) << QPoint(1, 4)
                                                   << Colour::rgb(255, 0, 255);
    // (255 - 0) * 1 / 4 = 63, 100 + (0 - 100) * 1 / 4 = 75
    QTest::newRow("vertical row 1 truncates") << 1 << QSize(3, 5) << QPoint(0, 1)
                                              << Colour::rgb(63, 75, 255);
    QTest::newRow("horizontal last column") << 0 << QSize(4, 2) << QPoint(3, 1) << Colour::rgb(255, 0, 255);
    // n = 3 + 3 - 1 = 5: corner (2, 2) takes entry 4, (0, 0) entry 0.
    QTest::newRow("diagonal 2 bottom right") << 2 << QSize(3, 3) << QPoint(2, 2) << Colour::rgb(255, 0, 255);
    QTest::newRow("diagonal 2 top left") << 2 << QSize(3, 3) << QPoint(0, 0) << Colour::rgb(0, 100, 255);
    QTest::newRow("diagonal 3 bottom left") << 3 << QSize(3, 3) << QPoint(0, 2) << Colour::rgb(0, 100, 255);
    QTest::newRow("diagonal 3 top right") << 3 << QSize(3, 3) << QPoint(2, 0) << Colour::rgb(255, 0, 255);
}

void ButtonDrawingTest::gradientRamp()
{
    QFETCH(int, direction);
    QFETCH(QSize, size);
    QFETCH(QPoint, at);
    QFETCH(Colour, expected);
    Surface surface(QSize(8, 8));
    ButtonCanvas canvas(surface);
    canvas.FillGradient(1, 1, size.width(), size.height(), Colour::rgb(0, 100, 255),
                        Colour::rgb(255, 0, 255), direction);
    QCOMPARE(surface.pixel(1 + at.x(), 1 + at.y()), expected);
}

void ButtonDrawingTest::gradientClipsAndSkipsEmpty()
{
    Surface surface(QSize(4, 4));
    surface.clear(grey(7));
    ButtonCanvas canvas(surface);
    canvas.FillGradient(0, 0, 0, 4, grey(255), grey(255), 1);
    canvas.FillGradient(0, 0, 4, 0, grey(255), grey(255), 1);
    canvas.FillGradient(0, 0, -3, 4, grey(255), grey(255), 0);
    QCOMPARE(surface.pixel(0, 0), grey(7));
    // Far outside on every side and huge: nothing outside is written, the
    // inside takes the right entries.
    canvas.FillGradient(-100, -100, 1000, 1000, grey(0), grey(255), 2);
    canvas.FillGradient(2, 6, 5, 20, grey(0), grey(255), 1);
    canvas.FillGradient(-1, 0, 1, 20, grey(0), grey(255), 0);
    QVERIFY(surface.pixel(0, 0) != grey(7));
    // Extreme rectangles neither overflow nor write outside.
    canvas.FillGradient(-2000000000, -2000000000, 2100000000, 2100000000, grey(0), grey(255), 3);
    canvas.FillGradient(2000000000, 0, 2000000000, 4, grey(0), grey(255), 0);
    canvas.FrameBox(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, grey(1));
}

void ButtonDrawingTest::edges_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Colour>("expected");
    const Colour light = grey(227), highlight = grey(255), shadow = grey(160), dark = grey(105);
    const int raised = int(ButtonCanvas::Edge::Raised);
    const int inner = int(ButtonCanvas::Edge::RaisedInner);
    const int sunken = int(ButtonCanvas::Edge::Sunken);
    // On a 6 x 5 rectangle.
    QTest::newRow("raised outer top left") << raised << QPoint(0, 0) << light;
    QTest::newRow("raised outer top row before far corner") << raised << QPoint(4, 0) << light;
    QTest::newRow("raised top right corner is bottom-right colour") << raised << QPoint(5, 0) << dark;
    QTest::newRow("raised bottom left corner") << raised << QPoint(0, 4) << dark;
    QTest::newRow("raised inner top left") << raised << QPoint(1, 1) << highlight;
    QTest::newRow("raised inner right") << raised << QPoint(4, 2) << shadow;
    QTest::newRow("raised inside untouched") << raised << QPoint(2, 2) << grey(7);
    QTest::newRow("raised-inner outer ring") << inner << QPoint(0, 0) << highlight;
    QTest::newRow("raised-inner bottom") << inner << QPoint(3, 4) << shadow;
    QTest::newRow("raised-inner leaves inner ring") << inner << QPoint(1, 1) << grey(7);
    QTest::newRow("sunken outer") << sunken << QPoint(0, 2) << shadow;
    QTest::newRow("sunken outer bottom") << sunken << QPoint(2, 4) << highlight;
    QTest::newRow("sunken inner") << sunken << QPoint(1, 1) << dark;
    QTest::newRow("sunken inner right") << sunken << QPoint(4, 1) << light;
}

void ButtonDrawingTest::edges()
{
    QFETCH(int, edge);
    QFETCH(QPoint, at);
    QFETCH(Colour, expected);
    Surface surface(QSize(6, 5));
    surface.clear(grey(7));
    ButtonCanvas canvas(surface);
    canvas.DrawEdge(canvas.whole(), ButtonCanvas::Edge(edge));
    QCOMPARE(surface.pixel(at.x(), at.y()), expected);
}

void ButtonDrawingTest::frameBoxOfWPlusOneShowsOnlyTwoEdges()
{
    Surface surface(QSize(5, 4));
    surface.clear(grey(7));
    ButtonCanvas canvas(surface);
    canvas.FrameBox(0, 0, 6, 5, grey(0));
    QCOMPARE(surface.pixel(0, 3), grey(0));
    QCOMPARE(surface.pixel(4, 0), grey(0));
    QCOMPARE(surface.pixel(4, 3), grey(7));
    QCOMPARE(surface.pixel(4, 2), grey(7));
    canvas.SetCornerPixels(grey(1));
    QCOMPARE(surface.pixel(3, 2), grey(1));
    QCOMPARE(surface.pixel(1, 1), grey(1));
}

void ButtonDrawingTest::captionLayout_data()
{
    QTest::addColumn<int>("captionAlign");
    QTest::addColumn<int>("pictureAlign");
    QTest::addColumn<int>("pictureSize"); // 0: no picture
    QTest::addColumn<int>("dropDownSymbol");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("state");
    QTest::addColumn<QRect>("caption");  // left, top, right, bottom as x, y, w, h of a QRect
    QTest::addColumn<QPoint>("picture");
    // A 100 x 24 button with a 40 x 13 caption.
    QTest::newRow("centre, picture left of caption")
        << 1 << 1 << 16 << 0 << 10 << 0 << QRect(38, 5, 40, 13) << QPoint(18, 4);
    QTest::newRow("left, picture at left edge pushes caption")
        << 0 << 0 << 16 << 0 << 10 << 0 << QRect(20, 5, 42, 13) << QPoint(3, 4);
    QTest::newRow("right without picture") << 2 << 1 << 0 << 0 << 10 << 0 << QRect(56, 5, 40, 13) << QPoint();
    QTest::newRow("right with drop-down") << 2 << 1 << 0 << 6 << 10 << 0 << QRect(40, 5, 40, 13) << QPoint();
    QTest::newRow("centre with drop-down") << 1 << 1 << 0 << 6 << 10 << 0 << QRect(22, 5, 40, 13) << QPoint();
    QTest::newRow("centre, picture right of caption")
        << 1 << 3 << 16 << 0 << 10 << 0 << QRect(26, 5, 40, 13) << QPoint(70, 4);
    QTest::newRow("centre, picture behind caption")
        << 1 << 4 << 16 << 0 << 10 << 0 << QRect(22, 5, 40, 13) << QPoint(42, 4);
    QTest::newRow("centre, picture above caption moves caption down")
        << 1 << 6 << 16 << 0 << 10 << 0 << QRect(30, 13, 40, 13) << QPoint(42, -5);
    QTest::newRow("centre, picture below caption moves caption up")
        << 1 << 8 << 16 << 0 << 10 << 0 << QRect(30, -3, 40, 13) << QPoint(42, 12);
    QTest::newRow("pressed classic moves caption and picture")
        << 1 << 1 << 16 << 0 << 0 << 2 << QRect(39, 6, 40, 13) << QPoint(19, 5);
    QTest::newRow("pressed glass does not move")
        << 1 << 1 << 16 << 0 << 3 << 2 << QRect(38, 5, 40, 13) << QPoint(18, 4);
    QTest::newRow("unknown alignment stays at origin")
        << 7 << 1 << 0 << 0 << 10 << 0 << QRect(0, 0, 40, 13) << QPoint();
}

void ButtonDrawingTest::captionLayout()
{
    QFETCH(int, captionAlign);
    QFETCH(int, pictureAlign);
    QFETCH(int, pictureSize);
    QFETCH(int, dropDownSymbol);
    QFETCH(int, style);
    QFETCH(int, state);
    QFETCH(QRect, caption);
    QFETCH(QPoint, picture);

    ButtonProperties p;
    p.caption = QStringLiteral("Caption");
    p.captionAlign = captionAlign;
    p.pictureAlign = pictureAlign;
    p.dropDownSymbol = dropDownSymbol;
    p.buttonStyle = style;
    if (pictureSize)
        p.pictureNormal = solidPicture(pictureSize, pictureSize, 0xFF000000, false);
    CaptionLayout::Input input;
    input.width = 100;
    input.height = 24;
    input.pictureWidth = pictureSize;
    input.pictureHeight = pictureSize;
    input.state = state;
    input.style = style;
    const auto result = CaptionLayout::layout(p, input, 40, 13);
    QCOMPARE(result.caption, PixelRect::fromSize(caption.x(), caption.y(), caption.width(), caption.height()));
    if (pictureSize)
        QCOMPARE(QPoint(result.picture.left, result.picture.top), picture);
    QCOMPARE(CaptionLayout::measureWidth(p, 100), dropDownSymbol ? 84 : 92);
}

void ButtonDrawingTest::pictureEffectTables()
{
    QCOMPARE(int(PictureComposer::lighter()[200]), 229);
    QCOMPARE(int(PictureComposer::lighter()[255]), 255);
    QCOMPARE(int(PictureComposer::darker()[200]), 170);
    QCOMPARE(int(PictureComposer::darker()[255]), 217);
    QCOMPARE(PictureComposer::greyOf(100, 150, 200), 140); // 30 + 88.5 + 22, tie to even
    QCOMPARE(PictureComposer::greyOf(200, 100, 0), 119);
}

void ButtonDrawingTest::pictureComposition_data()
{
    Test::addColumns<QRgb, bool, int, int, bool, Colour, Colour>(
        {"source", "alpha", "opacity", "effect", "greyLook", "face", "expected"});
    const Colour white = grey(255);
    QTest::newRow("opaque copies") << qRgb(10, 20, 30) << false << 255 << 0 << false << white
                                   << Colour::rgb(10, 20, 30);
    QTest::newRow("half opacity black over white") << qRgb(0, 0, 0) << false << 128 << 0 << false << white
                                                   << grey(126);
    QTest::newRow("lighter 200") << qRgb(200, 200, 200) << false << 255 << 1 << false << white << grey(229);
    QTest::newRow("darker 200") << qRgb(200, 200, 200) << false << 255 << 2 << false << white << grey(170);
    QTest::newRow("mask colour keyed out") << qRgb(224, 224, 224) << false << 255 << 0 << false << grey(9)
                                           << grey(9);
    QTest::newRow("alpha 0 never changes face") << qRgba(10, 20, 30, 0) << true << 255 << 0 << false << grey(9)
                                                << grey(9);
    QTest::newRow("alpha 255 copies exactly") << qRgba(10, 20, 30, 255) << true << 255 << 0 << false << grey(9)
                                              << Colour::rgb(10, 20, 30);
    // a = 128 * 255 / 255 = 128: (0 * 128 + 255 * 127) / 256 = 126
    QTest::newRow("alpha 128 blends") << qRgba(0, 0, 0, 128) << true << 255 << 0 << false << white << grey(126);
    QTest::newRow("alpha path ignores mask colour") << qRgba(224, 224, 224, 255) << true << 255 << 0 << false
                                                    << grey(9) << grey(224);
    QTest::newRow("disabled grey, opacity 191") << qRgb(200, 100, 0) << false << 191 << 0 << true << white
                                                 << grey((255 * 64 + 191 * 119) / 256);
    QTest::newRow("zero opacity draws nothing") << qRgb(0, 0, 0) << false << 0 << 0 << false << white << white;
}

void ButtonDrawingTest::pictureComposition()
{
    QFETCH(QRgb, source);
    QFETCH(bool, alpha);
    QFETCH(int, opacity);
    QFETCH(int, effect);
    QFETCH(bool, greyLook);
    QFETCH(Colour, face);
    QFETCH(Colour, expected);
    Surface surface(QSize(4, 4));
    surface.clear(face);
    const ButtonPicturePtr picture = solidPicture(2, 2, source, alpha);
    PictureComposer::Params params;
    params.opacity = opacity;
    params.effect = effect;
    params.grey = greyLook;
    params.transparentColour = Colour::rgb(224, 224, 224);
    PictureComposer::compose(surface.pixels(), 1, 1, *picture, params);
    QCOMPARE(surface.pixel(2, 2), expected);
    QCOMPARE(surface.pixel(0, 0), face);
    QCOMPARE(surface.pixel(3, 3), face);
}

void ButtonDrawingTest::pictureClipsAtEveryEdge()
{
    Surface surface(QSize(3, 3));
    surface.clear(grey(255));
    const ButtonPicturePtr picture = solidPicture(15, 7, qRgb(1, 2, 3), false);
    PictureComposer::Params params;
    for (const QPoint at : {QPoint(-14, -6), QPoint(2, 2), QPoint(-5, 1), QPoint(100, 100), QPoint(-100, 0)})
        PictureComposer::compose(surface.pixels(), at.x(), at.y(), *picture, params);
    QCOMPARE(surface.pixel(0, 0), Colour::rgb(1, 2, 3));
    QCOMPARE(surface.pixel(2, 2), Colour::rgb(1, 2, 3));
}

void ButtonDrawingTest::iconTransparencyIsLightGrey()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));       // transparent
    image.setPixel(1, 0, qRgba(50, 60, 70, 255));  // opaque
    const ButtonPicturePtr icon = ButtonPicture::from(Picture{u"icon.ico"_s, image});
    QVERIFY(icon->kind() == ButtonPicture::Kind::Icon);
    QVERIFY(!icon->usesAlpha());
    for (const bool useMask : {true, false}) {
        Surface surface(QSize(2, 1));
        surface.clear(grey(9));
        PictureComposer::Params params;
        params.useMaskColor = useMask;
        params.transparentColour = Colour::rgb(50, 60, 70); // an icon is keyed by the grey, never by MaskColor
        PictureComposer::compose(surface.pixels(), 0, 0, *icon, params);
        QCOMPARE(surface.pixel(0, 0), useMask ? grey(9) : grey(192));
        QCOMPARE(surface.pixel(1, 0), Colour::rgb(50, 60, 70));
    }
}

QTEST_APPLESS_MAIN(ButtonDrawingTest)
#include "tst_buttondrawing.moc"
