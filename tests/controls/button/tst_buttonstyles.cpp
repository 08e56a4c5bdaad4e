// What the skinned button's styles paint on small buttons: pixels of each
// style and state, window shapes, the fallback without visual themes, checked
// toggles, any size, caption, symbol and picture colours, and the focus
// rectangle.

#include <QTest>

#include "buttontesting.h"
#include "controls/button/buttonenums.h"
#include "controls/button/colourmath.h"
#include "controls/button/zephbutton.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Lumisong::ButtonTesting;
using namespace Qt::StringLiterals;

namespace {

Colour at(const zephbutton &button, int x, int y)
{
    return button.surface().pixel(x, y);
}

} // namespace

class ButtonStylesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SystemColours::pinStandard();
    }

    void stylePixels_data();
    void stylePixels();
    void windowRegions();
    void themedFallsBackWithoutThemes();
    void paleOwnsCaptionColour();
    void style13WithoutThemesIsStyle2();
    void checkedToggleLooksPressed();
    void anySizeDraws_data();
    void anySizeDraws();
    void captionAndSymbolColours();
    void pictureOnTheFace();
    void separatorTakesItsShadesFromTheFace();
    void focusRectangleOnlyWhenRunning();
};

void ButtonStylesTest::stylePixels_data()
{
    Test::addColumns<int, int, QPoint, Colour>({"style", "state", "point", "expected"});
    // 20 x 12 buttons, default scheme of each style, no caption.
    // C below is the blue scheme's back colour, rgb(173, 209, 255).
    QTest::newRow("0 normal outer edge") << 0 << 0 << QPoint(0, 0) << grey(227);
    QTest::newRow("0 normal face") << 0 << 0 << QPoint(10, 6) << grey(240);
    QTest::newRow("0 down black frame") << 0 << 2 << QPoint(19, 5) << grey(0);
    QTest::newRow("0 down inner frame") << 0 << 2 << QPoint(1, 5) << Colour::rgb(172, 168, 153);
    QTest::newRow("1 hot raised inner") << 1 << 1 << QPoint(0, 5) << grey(255);
    QTest::newRow("12 normal flat") << 12 << 0 << QPoint(0, 0) << grey(240);
    QTest::newRow("12 down white frame") << 12 << 2 << QPoint(19, 11) << grey(255);
    QTest::newRow("12 down grey top") << 12 << 2 << QPoint(5, 0) << grey(109);
    QTest::newRow("11 down sunken") << 11 << 2 << QPoint(0, 5) << grey(160);
    QTest::newRow("2 blue outline") << 2 << 0 << QPoint(5, 0) << Colour::rgb(0, 60, 116);
    QTest::newRow("2 corner pixel") << 2 << 0 << QPoint(1, 1) << Colour::rgb(77, 137, 193);
    QTest::newRow("2 hover ring bottom") << 2 << 1 << QPoint(5, 10) << Colour::rgb(229, 151, 0);
    QTest::newRow("3 normal outline") << 3 << 0 << QPoint(5, 0) << grey(112);
    QTest::newRow("3 corners") << 3 << 1 << QPoint(18, 10) << Colour::rgb(95, 150, 190);
    QTest::newRow("4 at rest is a flat fill") << 4 << 0 << QPoint(0, 0) << grey(240);
    QTest::newRow("4 hover frame") << 4 << 1 << QPoint(0, 0) << Colour::rgb(49, 106, 197);
    QTest::newRow("5 hover navy frame") << 5 << 1 << QPoint(0, 3) << Colour::rgb(0, 0, 128);
    QTest::newRow("5 hover top row") << 5 << 1 << QPoint(5, 1) << Colour::rgb(255, 241, 199);
    QTest::newRow("6 down fill") << 6 << 2 << QPoint(10, 6) << Colour::rgb(229, 228, 221);
    QTest::newRow("7 hot frame") << 7 << 1 << QPoint(0, 5) << Colour::rgb(97, 158, 202);
    QTest::newRow("8 frame") << 8 << 0 << QPoint(0, 5) << Colour::rgb(86, 122, 168); // Shift(C, -0.34)
    QTest::newRow("9 white inner line") << 9 << 0 << QPoint(1, 6) << grey(255);
    QTest::newRow("10 normal frame") << 10 << 0 << QPoint(0, 5) << Colour::rgb(89, 125, 171); // Shift(C, -0.33)
    QTest::newRow("10 row 5 keeps the fill") << 10 << 0 << QPoint(10, 5) << Colour::rgb(165, 201, 247);
    QTest::newRow("10 top band starts light") << 10 << 0 << QPoint(10, 1)
        << Colour::rgb(224, 244, 255); // entry 1 of (240, 255, 255) -> C over 5 rows
    QTest::newRow("10 hot corners") << 10 << 1 << QPoint(1, 1) << Colour::rgb(81, 117, 163); // Shift(C, -0.36)
}

void ButtonStylesTest::stylePixels()
{
    QFETCH(int, style);
    QFETCH(int, state);
    QFETCH(QPoint, point);
    QFETCH(Colour, expected);
    auto button = newButton(QSize(20, 12));
    button->setCaption(QString());
    button->setButtonStyle(style);
    button->runtime().state = state;
    button->Redraw();
    QCOMPARE(at(*button, point.x(), point.y()), expected);
}

void ButtonStylesTest::windowRegions()
{
    auto button = newButton(QSize(20, 12));
    button->setButtonStyle(2);
    QVERIFY(!button->surface().windowRegion().contains(QPoint(0, 0)));
    QVERIFY(button->surface().windowRegion().contains(QPoint(1, 0)));
    button->setButtonStyle(6);
    QVERIFY(!button->surface().windowRegion().contains(QPoint(1, 0)));
    button->setButtonStyle(0);
    QVERIFY(button->surface().windowRegion().contains(QPoint(0, 0)));
    QVERIFY(button->surface().windowRegion().contains(QPoint(19, 11)));
}

void ButtonStylesTest::themedFallsBackWithoutThemes()
{
    auto button = std::make_unique<zephbutton>();
    button->resize(20, 12);
    ButtonRuntime runtime = button->runtime();
    runtime.themed = false;
    button->setRuntime(runtime);
    button->InitProperties();
    QCOMPARE(button->buttonStyle(), 2);
    QCOMPARE(button->colorScheme(), 0);
    QCOMPARE(button->backColor(), Colour::rgb(236, 235, 231));
    QCOMPARE(at(*button, 5, 0), Colour::rgb(0, 60, 116));

    auto themed = newButton(QSize(20, 12));
    QCOMPARE(themed->buttonStyle(), 13);
    // The application style's panel gives the window its shape.
    const QRegion shape = themed->surface().windowRegion();
    QVERIFY(shape.contains(QPoint(10, 6)));
    QVERIFY(QRegion(0, 0, 20, 12).contains(shape.boundingRect()));
}

void ButtonStylesTest::style13WithoutThemesIsStyle2()
{
    // Without visual themes style 13 is style 2 with the blue scheme, for
    // good: it is so as soon as it is set, before anything is drawn.
    zephbutton button;
    ButtonRuntime runtime = button.runtime();
    runtime.themed = false;
    button.setRuntime(runtime);
    button.setColorScheme(3);
    button.setButtonStyle(13);
    QCOMPARE(button.buttonStyle(), 2);
    QCOMPARE(button.colorScheme(), 0);
    runtime.themed = true;
    button.setRuntime(runtime);
    QCOMPARE(button.buttonStyle(), 2);
}

void ButtonStylesTest::paleOwnsCaptionColour()
{
    // The pale look's caption is white while pressed, else the system's
    // button text, whatever ForeColor is given; the rule holds as soon as the
    // value or the state changes, and drawing changes no property.
    auto button = newButton(QSize(30, 15));
    button->setButtonStyle(6);
    button->setForeColor(Colour::rgb(200, 0, 0));
    QCOMPARE(button->foreColor(), grey(0));
    ButtonRuntime runtime = button->runtime();
    runtime.state = StateDown;
    button->setRuntime(runtime);
    QCOMPARE(button->foreColor(), grey(255));
    button->runtime().state = StateNormal;
    button->Redraw();
    QCOMPARE(button->foreColor(), grey(255));
    runtime.state = StateNormal;
    button->setRuntime(runtime);
    QCOMPARE(button->foreColor(), grey(0));
}

void ButtonStylesTest::checkedToggleLooksPressed()
{
    auto button = newButton(QSize(20, 12));
    button->setCaption(QString());
    button->setButtonStyle(1);
    button->setMode(1);
    button->setValue(true);
    // A checked flat button: lightened face and a sunken edge.
    QCOMPARE(at(*button, 10, 6), grey(245));
    QCOMPARE(at(*button, 0, 5), grey(160));
    button->setButtonStyle(12);
    QCOMPARE(at(*button, 0, 5), grey(245));
}

void ButtonStylesTest::anySizeDraws_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1x1") << QSize(1, 1);
    QTest::newRow("2x3") << QSize(2, 3);
    QTest::newRow("5x1") << QSize(5, 1);
    QTest::newRow("1x7") << QSize(1, 7);
}

void ButtonStylesTest::anySizeDraws()
{
    QFETCH(QSize, size);
    auto button = newButton(size);
    button->setCaption(QStringLiteral("A long caption"));
    button->setPictureNormal(picture(16, 16, qRgb(1, 2, 3)));
    button->setDropDownSymbol(6);
    button->setDropDownSeparator(true);
    button->setPictureShadow(true);
    button->setCaptionEffects(4);
    for (int style = 0; style <= 14; ++style) {
        button->setButtonStyle(style);
        for (int state = 0; state <= 3; ++state) {
            button->runtime().state = state;
            button->Redraw();
            button->setEnabled(state != 3);
        }
    }
    // The resize step after loading keeps at least 220 twips.
    button->ReadProperties(PropertyBag());
    QVERIFY(button->width() >= 15 && button->height() >= 15);
}

void ButtonStylesTest::captionAndSymbolColours()
{
    auto button = newButton(QSize(60, 23));
    button->setButtonStyle(4);
    button->setCaption(QString());
    button->setDropDownSymbol(6);
    button->setForeColor(Colour::rgb(200, 0, 0));
    button->setForeColorHover(Colour::rgb(0, 200, 0));
    // D = (45, 4, 60, 20); the down triangle's widest row is row 6 of the cell.
    QCOMPARE(at(*button, 45 + 7, 4 + 6), Colour::rgb(200, 0, 0));
    button->runtime().state = StateHot;
    button->Redraw();
    QCOMPARE(at(*button, 45 + 7, 4 + 6), Colour::rgb(200, 0, 0)); // never the hover colour
    button->setEnabled(false);
    QCOMPARE(at(*button, 45 + 7, 4 + 6), grey(109));
}

void ButtonStylesTest::pictureOnTheFace()
{
    auto button = newButton(QSize(30, 20));
    button->setButtonStyle(4); // a flat face of the system colour at rest
    button->setCaption(QString());
    button->setPictureNormal(picture(4, 4, qRgb(10, 20, 30)));
    button->setPictureOpacity(128);
    // Centred: left = (30 - 4) / 2 = 13, top = 8.
    const Colour blended = Colour::rgb((10 * 128 + 240 * 127) / 256, (20 * 128 + 240 * 127) / 256,
                                       (30 * 128 + 240 * 127) / 256);
    QCOMPARE(at(*button, 13, 8), blended);
    QCOMPARE(at(*button, 12, 8), grey(240));

    // Disabled and faded: opacity 52.
    button->setEnabled(false);
    QCOMPARE(at(*button, 13, 8).red(), (10 * 52 + 240 * 203) / 256);
}

void ButtonStylesTest::separatorTakesItsShadesFromTheFace()
{
    auto button = newButton(QSize(60, 23));
    button->setButtonStyle(4);
    button->setCaption(u"Go"_s);
    button->setDropDownSeparator(true);
    // Read at (7, 7) twice: both shades come from the face, 240.
    QCOMPARE(at(*button, 60 - 16, 10), grey(214));
    QCOMPARE(at(*button, 60 - 15, 10), grey(255));
    QCOMPARE(at(*button, 60 - 16, 2), grey(240)); // the lines start at row 3
    QCOMPARE(at(*button, 60 - 16, 20), grey(240)); // and stop before H - 3
}

void ButtonStylesTest::focusRectangleOnlyWhenRunning()
{
    for (const bool running : {true, false}) {
        zephbutton button;
        zephbutton::Ambient ambient;
        ambient.userMode = running;
        button.setAmbient(ambient);
        button.resize(30, 20);
        button.InitProperties();
        button.setCaption(QString());
        button.setButtonStyle(0);
        button.runtime().hasFocus = true;
        button.runtime().parentActive = true;
        button.Redraw();
        // The dotted rectangle 4 pixels in inverts (4, 4) of the 240 face.
        QCOMPARE(at(button, 4, 4), running ? grey(15) : grey(240));
        QCOMPARE(at(button, 5, 4), grey(240));
        // The default cue: black outer frame, workspace frame inside it.
        QCOMPARE(at(button, 29, 10), grey(0));
        QCOMPARE(at(button, 28, 10), grey(171));
    }
}

QTEST_MAIN(ButtonStylesTest)
#include "tst_buttonstyles.moc"
