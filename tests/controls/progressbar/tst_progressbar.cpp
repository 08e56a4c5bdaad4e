#include <QtTest>

#include <QJsonDocument>

#include "controls/progressbar/progressbar.h"
#include "controls/progressbar/progressbarlayout.h"
#include "controls/progressbar/progressbarpalette.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;

namespace {

using P = ProgressBarPalette;

// A bar as a form creates it when it is placed for the first time.
std::unique_ptr<ProgressBar> placed(QSize size = QSize(40, 12))
{
    auto bar = std::make_unique<ProgressBar>();
    bar->setObjectName(QStringLiteral("process"));
    bar->resize(size);
    bar->UserControl_InitProperties();
    return bar;
}

void assign(ProgressBar &bar, const QString &assignment)
{
    const QStringList parts = assignment.split(QLatin1Char('='));
    QVERIFY(bar.setProperty(parts[0].toLatin1().constData(), parts[1].toInt()));
}

// Per channel (start * (n - i) + end * i) / n: the gradient's colour i of n.
Colour between(Colour start, Colour end, int i, int n)
{
    auto c = [&](int s, int e) { return (s * (n - i) + e * i) / n; };
    return Colour::rgb(c(start.red(), end.red()), c(start.green(), end.green()),
                       c(start.blue(), end.blue()));
}

Colour themeColour(int theme, P::Slot slot)
{
    return P::forTheme(theme, Colour(), Colour())->at(slot);
}

// Pixels that differ between two images of the same size, as a bounding rectangle.
QRect differences(const QImage &a, const QImage &b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class tst_ProgressBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SystemColours::pinStandard(); }

    void clamping_data();
    void clamping();
    void notifications();
    void emptyBagVersusFreshControl();
    void readingOrderDecidesClamping();
    void unreadableEntriesAreSkipped();
    void saveLoadRoundTrip();
    void textDefaultQuirk();

    void gradientEndRows();
    void fillAndBorder();
    void verticalFill();
    void paletteSurvivesInvalidTheme();
    void greyRendering();
    void captionStaysInItsRectangle_data();
    void captionStaysInItsRectangle();
    void noCaption();
    void windowShape();
    void degenerateSizes();
    void publicGradients();
    void fourColourRamp_data();
    void fourColourRamp();
};

void tst_ProgressBar::clamping_data()
{
    Test::addColumns<QStringList, int, int, int>({"assignments", "min", "max", "value"});
    auto list = [](std::initializer_list<const char *> items) {
        QStringList result;
        for (const char *item : items)
            result << QString::fromLatin1(item);
        return result;
    };
    QTest::newRow("Max 0") << list({"Max=0"}) << 0 << 1 << 1;
    QTest::newRow("Max negative") << list({"Max=-5"}) << 0 << 1 << 1;
    QTest::newRow("Max 0 above Min 10") << list({"Min=10", "Max=0"}) << 10 << 11 << 50 - 39;
    QTest::newRow("Max 5 with Min 10") << list({"Min=10", "Max=5"}) << 10 << 11 << 11;
    QTest::newRow("Min 200 with Max 100") << list({"Min=200"}) << 99 << 100 << 99;
    QTest::newRow("Max 60 lowers Value 80") << list({"Value=80", "Max=60"}) << 0 << 60 << 60;
    QTest::newRow("Min 20 raises Value 5") << list({"Value=5", "Min=20"}) << 20 << 100 << 20;
    QTest::newRow("Value -7") << list({"Value=-7"}) << 0 << 100 << 0;
    QTest::newRow("Value 1000") << list({"Value=1000"}) << 0 << 100 << 100;
    QTest::newRow("Min -5") << list({"Min=-5"}) << 0 << 100 << 50;
    // The same values in both orders end differently.
    QTest::newRow("Min then Max") << list({"Min=150", "Max=200"}) << 99 << 200 << 99;
    QTest::newRow("Max then Min") << list({"Max=200", "Min=150"}) << 150 << 200 << 150;
    QTest::newRow("Max at the top") << list({"Max=2147483647", "Min=2147483647"})
                                    << 2147483646 << 2147483647 << 2147483646;
}

void tst_ProgressBar::clamping()
{
    QFETCH(QStringList, assignments);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, value);
    const auto bar = placed();
    for (const QString &assignment : assignments)
        assign(*bar, assignment);
    QCOMPARE(bar->min(), min);
    QCOMPARE(bar->max(), max);
    QCOMPARE(bar->value(), value);
}

void tst_ProgressBar::notifications()
{
    const auto bar = placed();
    QSignalSpy spy(bar.get(), &ProgressBar::propertyChanged);
    // Every write accessor names its own property.
    const QMetaObject *meta = bar->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        spy.clear();
        QVERIFY(property.write(bar.get(), property.read(bar.get())));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QString::fromLatin1(property.name()));
    }
    // A correction of Value inside Max notifies Value as well.
    bar->setValue(80);
    spy.clear();
    bar->setMax(60);
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Value"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("Max"));
}

void tst_ProgressBar::emptyBagVersusFreshControl()
{
    const auto fresh = placed();
    QCOMPARE(fresh->textStyle(), 3);
    QCOMPARE(fresh->textEffect(), 5);
    QCOMPARE(fresh->textEffectColor(), Colour::rgb(255, 255, 255));
    QCOMPARE(fresh->text(), QStringLiteral("Tarn ProgressBar"));
    QCOMPARE(fresh->textFont(), FontDescription::ambient());

    ProgressBar loaded;
    loaded.setObjectName(QStringLiteral("process"));
    loaded.UserControl_ReadProperties(PropertyBag());
    QCOMPARE(loaded.textStyle(), 1);
    QCOMPARE(loaded.textEffect(), 1);
    QCOMPARE(loaded.textEffectColor(), Colour::rgb(200, 200, 200));
    QCOMPARE(loaded.text(), QStringLiteral("process"));
    for (const char *same : {"Value", "Max", "Min", "RoundedValue", "Enabled", "Theme", "Orientations",
                             "TextAlignment", "TextForeColor", "TextFont", "PBSCustomeColor1",
                             "PBSCustomeColor2"})
        QCOMPARE(loaded.property(same), fresh->property(same));
}

void tst_ProgressBar::readingOrderDecidesClamping()
{
    PropertyBag bag;
    bag.setValue(QStringLiteral("min"), qint32(150));
    bag.setValue(QStringLiteral("MAX"), qint32(200));
    ProgressBar bar;
    bar.UserControl_ReadProperties(bag);
    QCOMPARE(bar.min(), 150);
    QCOMPARE(bar.max(), 200);
    QCOMPARE(bar.value(), 150);
}

void tst_ProgressBar::unreadableEntriesAreSkipped()
{
    const QJsonObject json = QJsonDocument::fromJson(
        R"j({"Max": "abc", "Theme": 4, "Text": 5, "TextFont": {"font": {"face": 1}}, "Value": 7})j")
                                 .object();
    const auto bar = placed();
    bar->UserControl_ReadProperties(PropertyBag::fromJson(json));
    QCOMPARE(bar->max(), 100);
    QCOMPARE(bar->theme(), 4);
    QCOMPARE(bar->value(), 7);
    QCOMPARE(bar->text(), QStringLiteral("Tarn ProgressBar"));
    QCOMPARE(bar->textFont(), FontDescription::ambient());
}

void tst_ProgressBar::saveLoadRoundTrip()
{
    const auto fresh = placed();
    PropertyBag saved;
    fresh->UserControl_WriteProperties(saved);
    // A fresh bar saves exactly the values whose creation and saved defaults differ.
    QStringList names = saved.names();
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("Text"), QStringLiteral("TextEffect"),
                                 QStringLiteral("TextEffectColor"), QStringLiteral("TextStyle")}));

    const auto changed = placed();
    changed->setTheme(8);
    changed->setMax(300);
    changed->setMin(20);
    changed->setValue(250);
    changed->setEnabled(false);
    changed->setOrientations(2);
    changed->setTextForeColor(Colour::rgb(1, 2, 3));
    changed->setPBSCustomeColor1(Colour::system(15));
    FontDescription font = FontDescription::ambient();
    font.bold = true;
    changed->setTextFont(font);
    PropertyBag bag;
    changed->UserControl_WriteProperties(bag);
    const PropertyBag parsed = PropertyBag::fromJson(
        QJsonDocument::fromJson(QJsonDocument(bag.toJson()).toJson()).object());

    ProgressBar loaded;
    loaded.setObjectName(QStringLiteral("other"));
    loaded.UserControl_ReadProperties(parsed);
    const QMetaObject *meta = loaded.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const char *name = meta->property(i).name();
        QVERIFY2(loaded.property(name) == changed->property(name), name);
    }
}

void tst_ProgressBar::textDefaultQuirk()
{
    const auto bar = placed();
    bar->setText(QString());
    PropertyBag bag;
    bar->UserControl_WriteProperties(bag);
    QVERIFY(!bag.contains(QStringLiteral("Text")));
    ProgressBar loaded;
    loaded.setObjectName(QStringLiteral("process"));
    loaded.UserControl_ReadProperties(bag);
    QCOMPARE(loaded.text(), QStringLiteral("process")); // an empty Text comes back as the name

    loaded.UserControl_WriteProperties(bag);
    QCOMPARE(bag.read(QStringLiteral("Text"), QString()), QStringLiteral("process"));
}

void tst_ProgressBar::gradientEndRows()
{
    const auto bar = placed(QSize(20, 10));
    bar->setValue(0);
    bar->setTextStyle(0);
    const Surface &s = bar->surface();
    // Upper half rows 0-4, lower half rows 5-9 (round(10 / 2) = 5); column 10 is
    // away from the border except on rows 0 and 8.
    const Colour b1s = themeColour(1, P::BackgroundFirstStart);
    const Colour b1e = themeColour(1, P::BackgroundFirstEnd);
    const Colour b2s = themeColour(1, P::BackgroundSecondStart);
    const Colour b2e = themeColour(1, P::BackgroundSecondEnd);
    QCOMPARE(s.pixel(10, 1), between(b1s, b1e, 1, 5));
    QCOMPARE(s.pixel(10, 4), between(b1s, b1e, 4, 5));
    QCOMPARE(s.pixel(10, 5), b2s);
    QCOMPARE(s.pixel(10, 9), between(b2s, b2e, 4, 5)); // the end colour is approached, not reached
    QCOMPARE(s.pixel(19, 5), b2s);                     // the last column keeps the gradient
}

void tst_ProgressBar::fillAndBorder()
{
    const auto bar = placed(QSize(773, 39));
    bar->setMax(3);
    bar->setValue(1);
    bar->setTextStyle(0);
    const Surface &s = bar->surface();
    const Colour f2s = themeColour(1, P::FillSecondStart);
    const Colour f2e = themeColour(1, P::FillSecondEnd);
    const Colour b2s = themeColour(1, P::BackgroundSecondStart);
    const Colour b2e = themeColour(1, P::BackgroundSecondEnd);
    // Row 30 is row 10 of the 19-row lower half; the fill ends after 258 columns.
    QCOMPARE(s.pixel(257, 30), between(f2s, f2e, 10, 19));
    QCOMPARE(s.pixel(258, 30), between(b2s, b2e, 10, 19));
    // The border: left column 0, top row 0, right column W - 2, bottom row H - 2.
    const Colour border = themeColour(1, P::Border);
    QCOMPARE(s.pixel(0, 20), border);
    QCOMPARE(s.pixel(400, 0), border);
    QCOMPARE(s.pixel(771, 20), border);
    QCOMPARE(s.pixel(400, 37), border);
    QCOMPARE(s.pixel(772, 20), between(b2s, b2e, 0, 19));
    QCOMPARE(s.pixel(400, 38), between(b2s, b2e, 18, 19));

    bar->setValue(3); // full
    QCOMPARE(s.pixel(772, 30), between(f2s, f2e, 10, 19));
}

void tst_ProgressBar::verticalFill()
{
    const auto bar = placed(QSize(21, 100));
    bar->setOrientations(2);
    bar->setTheme(3);
    bar->setValue(25);
    bar->setTextStyle(0);
    const Surface &s = bar->surface();
    // Halves split at round(21 / 2) = 10; each runs from left to right.
    QCOMPARE(s.pixel(1, 10), between(themeColour(3, P::FillFirstStart), themeColour(3, P::FillFirstEnd), 1, 10));
    QCOMPARE(s.pixel(10, 24), themeColour(3, P::FillSecondStart));
    QCOMPARE(s.pixel(10, 25), themeColour(3, P::BackgroundSecondStart));
}

void tst_ProgressBar::paletteSurvivesInvalidTheme()
{
    ProgressBar bar;
    bar.resize(30, 10);
    bar.setTheme(11); // no valid theme yet: black
    QCOMPARE(bar.palette(), ProgressBarPalette());
    bar.UserControl_InitProperties();
    bar.setTextStyle(0);
    bar.setTheme(3);
    bar.setTheme(11);
    QCOMPARE(bar.palette(), *P::forTheme(3, Colour(), Colour()));
    QCOMPARE(bar.surface().pixel(0, 5), themeColour(3, P::Border));
    // Greying is drawn, not stored: after a disabled spell the last theme comes back.
    bar.setEnabled(false);
    QCOMPARE(bar.surface().pixel(0, 5), P::grey(themeColour(3, P::Border)));
    bar.setEnabled(true);
    QCOMPARE(bar.surface().pixel(0, 5), themeColour(3, P::Border));
}

void tst_ProgressBar::greyRendering()
{
    const auto bar = placed(QSize(120, 24));
    bar->setTheme(8);
    bar->setTextForeColor(Colour::rgb(255, 0, 0));
    bar->setTextEffectColor(Colour::rgb(0, 0, 255));
    bar->setTextEffect(4);
    bar->setEnabled(false);
    const QImage image = bar->surface().image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    bar->setEnabled(true);
    QCOMPARE(bar->surface().pixel(0, 12), themeColour(8, P::Border));
}

void tst_ProgressBar::captionStaysInItsRectangle_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("effect");
    for (int alignment = 0; alignment <= 10; ++alignment)
        QTest::addRow("alignment %d", alignment) << alignment << 1;
    for (int effect = 2; effect <= 5; ++effect)
        QTest::addRow("effect %d", effect) << 5 << effect;
}

void tst_ProgressBar::captionStaysInItsRectangle()
{
    QFETCH(int, alignment);
    QFETCH(int, effect);
    const auto bar = placed(QSize(160, 40));
    bar->setText(QStringLiteral("Wg 进度"));
    bar->setTextAlignment(alignment);
    bar->setTextEffect(effect);
    bar->setTextForeColor(Colour::rgb(255, 0, 0));
    const QImage with = bar->surface().image();
    bar->setTextStyle(0);
    const QImage without = bar->surface().image();

    const QSize text = bar->surface().textExtent(QStringLiteral("Wg 进度"));
    const QPoint at = ProgressBarLayout::captionPosition(alignment, QSize(160, 40), text);
    // The effects reach one pixel around; glyphs may overhang their advance slightly.
    const QRect allowed = QRect(at, text).adjusted(-1, -1, 2, 1);
    const QRect drawn = differences(with, without);
    QVERIFY(!drawn.isEmpty());
    QVERIFY2(allowed.contains(drawn), qPrintable(QStringLiteral("drawn %1,%2 %3x%4")
                                                     .arg(drawn.x()).arg(drawn.y())
                                                     .arg(drawn.width()).arg(drawn.height())));
}

void tst_ProgressBar::noCaption()
{
    const auto bar = placed(QSize(100, 20));
    bar->setTextStyle(0);
    const QImage none = bar->surface().image();
    bar->setTextStyle(3);
    bar->setTextEffect(6);
    QCOMPARE(bar->surface().image(), none);
    bar->setTextEffect(1);
    QVERIFY(bar->surface().image() != none);
}

void tst_ProgressBar::windowShape()
{
    QWidget form;
    const auto bar = placed(QSize(40, 12));
    bar->setParent(&form);
    const QRegion mask = bar->mask();
    QCOMPARE(mask, bar->surface().windowRegion());
    // Ellipse 5: two pixels cut on the outer rows, one on the next.
    for (const QPoint outside : {QPoint(1, 0), QPoint(38, 0), QPoint(0, 1), QPoint(39, 10), QPoint(38, 11)})
        QVERIFY(!mask.contains(outside));
    for (const QPoint inside : {QPoint(2, 0), QPoint(37, 11), QPoint(1, 1), QPoint(0, 2), QPoint(39, 9)})
        QVERIFY(mask.contains(inside));
    bar->setRoundedValue(0);
    QCOMPARE(bar->mask(), QRegion(0, 0, 40, 12));
    bar->resize(50, 10);
    form.show(); // a hidden widget hears of its new size when shown
    QCOMPARE(bar->surface().size(), QSize(50, 10));
}

void tst_ProgressBar::degenerateSizes()
{
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(2, 2), QSize(1, 50), QSize(3, 0)}) {
        const auto bar = placed(size);
        bar->setRoundedValue(1000000);
        bar->setMax(1);
        bar->setValue(1);
        bar->setOrientations(2);
        bar->setTextAlignment(9);
        bar->setTextStyle(2);
        bar->setRoundedValue(-3);
        QCOMPARE(bar->surface().size(), size.isEmpty() ? QSize(0, 0) : size);
    }
}

void tst_ProgressBar::publicGradients()
{
    const auto bar = placed();
    Surface s(QSize(6, 4));
    s.clear(Colour::rgb(9, 9, 9));
    // The last two arguments are the right and bottom edges.
    bar->GradientTwoColour(s, 0, Colour::rgb(0, 0, 0), Colour::rgb(200, 0, 0), 1, 1, 3, 2);
    QCOMPARE(s.pixel(1, 1), Colour::rgb(0, 0, 0));
    QCOMPARE(s.pixel(2, 1), Colour::rgb(100, 0, 0));
    QCOMPARE(s.pixel(3, 1), Colour::rgb(9, 9, 9));
    QCOMPARE(s.pixel(1, 2), Colour::rgb(9, 9, 9));
    bar->GradientTwoColour(s, 2, Colour::rgb(1, 1, 1), Colour::rgb(1, 1, 1), 0, 0, 6, 4);
    QCOMPARE(s.pixel(0, 0), Colour::rgb(9, 9, 9));

    // Four colours over 4 x 3: ramps of 3 + 1 rows and 4 + 1 columns, halves to even.
    bar->DrawGradientFourColour(s, 1, 1, 4, 3, Colour::rgb(0, 0, 0), Colour::rgb(100, 0, 0),
                                Colour::rgb(0, 90, 0), Colour::rgb(0, 0, 30));
    QCOMPARE(s.pixel(1, 1), Colour::rgb(0, 0, 0));
    QCOMPARE(s.pixel(4, 1), Colour::rgb(75, 0, 0));
    QCOMPARE(s.pixel(1, 3), Colour::rgb(0, 60, 0));
    // Row 1 runs from (0, 30, 0) to (67, 0, 10); column 2 has red 33.5, rounded to even.
    QCOMPARE(s.pixel(3, 2), Colour::rgb(34, 15, 5));
    QCOMPARE(s.pixel(0, 1), Colour::rgb(9, 9, 9));
    bar->DrawGradientFourColour(s, -10, -10, 100000, 3, Colour(), Colour(), Colour(), Colour());
}

void tst_ProgressBar::fourColourRamp_data()
{
    Test::addColumns<bool, int, int, int, int, int>(
        {"vertical", "steps", "start", "end", "entry", "expected"});
    QTest::newRow("a half goes down to even") << false << 2 << 0 << 1 << 1 << 0;
    QTest::newRow("a half goes up to even") << false << 2 << 0 << 3 << 1 << 2;
    // The single-precision step 7/6 times 3 is 3.4999999, not a half.
    QTest::newRow("just below a half, across") << false << 6 << 0 << 7 << 3 << 3;
    QTest::newRow("just below a half, down") << true << 6 << 0 << 7 << 3 << 3;
    QTest::newRow("falling ramp") << false << 6 << 7 << 0 << 3 << 4;
}

void tst_ProgressBar::fourColourRamp()
{
    QFETCH(bool, vertical);
    QFETCH(int, steps);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, entry);
    QFETCH(int, expected);
    const auto bar = placed();
    Surface s(QSize(8, 8));
    const Colour from = Colour::rgb(start, 0, 0);
    const Colour to = Colour::rgb(end, 0, 0);
    if (vertical)
        bar->DrawGradientFourColour(s, 0, 0, 1, steps, from, from, to, to);
    else
        bar->DrawGradientFourColour(s, 0, 0, steps, 1, from, to, from, to);
    QCOMPARE(s.pixel(vertical ? 0 : entry, vertical ? entry : 0), Colour::rgb(expected, 0, 0));
}

QTEST_MAIN(tst_ProgressBar)
#include "tst_progressbar.moc"
