// The skinned button as a widget: new-instance values, the side effects of
// assignments, change notification, the picture slots, saving and loading,
// and what the styles paint on small buttons.

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "controls/button/buttonenums.h"
#include "controls/button/colourmath.h"
#include "controls/button/zephbutton.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "platform/ui/recordingshellopener.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

Colour grey(int v)
{
    return Colour::rgb(v, v, v);
}

// A picture made in code: saved inline.
ButtonPicturePtr picture(int w, int h, QRgb argb, const char *source = "")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(argb);
    return ButtonPicture::from(Picture{QString::fromLatin1(source), image});
}

std::unique_ptr<zephbutton> newButton(QSize size = QSize(61, 23))
{
    auto button = std::make_unique<zephbutton>();
    button->resize(size);
    button->InitProperties();
    return button;
}

Colour at(const zephbutton &button, int x, int y)
{
    return button.surface().pixel(x, y);
}

} // namespace

class ZephButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SystemColours::pinStandard();
        zephbutton::setVisualThemesAvailable(true);
    }

    void newInstance();
    void styleAndSchemeTransitions_data();
    void styleAndSchemeTransitions();
    void backColorMakesSchemeCustomExceptToolbar();
    void toolbarTurnsPushOnHoverOnForGood();
    void notifications_data();
    void notifications();
    void pictureSlots();
    void valueAndMode();
    void mouseIcon();
    void fontObjectChangesRedrawAndNotify();
    void saveWritesKeysInOrderWithQuirks();
    void everyKeyInItsOrder();
    void loadRunsNoSideEffects();
    void loadSkipsWrongTypes();
    void unreadablePictureLeavesSlotEmpty();
    void roundTripThroughJson();
    void accessKey_data();
    void accessKey();
    void openWebsiteAndAbout();

    void stylePixels_data();
    void stylePixels();
    void windowRegions();
    void themedFallsBackWithoutThemes();
    void paleOwnsCaptionColour();
    void checkedToggleLooksPressed();
    void anySizeDraws_data();
    void anySizeDraws();
    void captionAndSymbolColours();
    void pictureOnTheFace();
    void separatorTakesItsShadesFromTheFace();
    void focusRectangleOnlyWhenRunning();
};

void ZephButtonTest::newInstance()
{
    zephbutton button;
    zephbutton::Ambient ambient;
    ambient.displayName = QStringLiteral("zephbutton7");
    button.setAmbient(ambient);
    button.InitProperties();
    QCOMPARE(button.buttonStyle(), 13);
    QCOMPARE(button.colorScheme(), 0);
    QCOMPARE(button.showFocusRect(), false);
    QCOMPARE(button.backColor(), Colour(0));
    QCOMPARE(button.foreColor(), grey(0));
    QCOMPARE(button.maskColor(), Colour::rgb(224, 224, 224));
    QCOMPARE(button.pictureOpacity(), 255);
    QCOMPARE(button.pictureOpacityOnOver(), 255);
    QCOMPARE(button.pictureEffectOnOver(), 0);
    QCOMPARE(button.pictureEffectOnDown(), 0);
    QCOMPARE(button.captionAlign(), 1);
    QCOMPARE(button.pictureAlign(), 1);
    QCOMPARE(button.useMaskColor(), true);
    QCOMPARE(button.isEnabled(), true);
    QCOMPARE(button.caption(), QStringLiteral("zephbutton7"));
    QCOMPARE(button.fontDescription().face, QStringLiteral("Tahoma"));
    QCOMPARE(button.tooltipBackColor(), Colour(0));
}

void ZephButtonTest::styleAndSchemeTransitions_data()
{
    QTest::addColumn<int>("schemeBefore");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("scheme");
    QTest::addColumn<Colour>("back");
    const Colour custom = Colour::rgb(10, 20, 30);
    QTest::newRow("5 keeps custom scheme and colour") << 3 << 5 << 3 << custom;
    QTest::newRow("8 resets to blue") << 3 << 8 << 0 << Colour::rgb(173, 209, 255);
    QTest::newRow("3 turns silver") << 3 << 3 << 2 << grey(227);
    QTest::newRow("0 takes the face") << 3 << 0 << 0 << grey(240);
}

void ZephButtonTest::styleAndSchemeTransitions()
{
    QFETCH(int, schemeBefore);
    QFETCH(int, style);
    QFETCH(int, scheme);
    QFETCH(Colour, back);
    auto button = newButton();
    button->setButtonStyle(5);
    button->setBackColor(Colour::rgb(10, 20, 30));
    QCOMPARE(button->colorScheme(), schemeBefore);
    button->setButtonStyle(style);
    QCOMPARE(button->colorScheme(), scheme);
    QCOMPARE(button->backColor(), back);

    // Choosing the custom scheme leaves the colour as it was.
    button->setBackColor(Colour::rgb(1, 2, 3));
    button->setColorScheme(3);
    QCOMPARE(button->backColor(), style == 0 ? grey(240) : Colour::rgb(1, 2, 3));
}

void ZephButtonTest::backColorMakesSchemeCustomExceptToolbar()
{
    auto button = newButton();
    button->setButtonStyle(4);
    QCOMPARE(button->colorScheme(), 0);
    button->setBackColor(Colour::rgb(5, 5, 5));
    QCOMPARE(button->colorScheme(), 0);
    button->setButtonStyle(10);
    button->setBackColor(Colour::rgb(5, 5, 5));
    QCOMPARE(button->colorScheme(), 3);
}

void ZephButtonTest::toolbarTurnsPushOnHoverOnForGood()
{
    auto button = newButton();
    QVERIFY(!button->picturePushOnHover());
    button->setButtonStyle(4);
    QVERIFY(button->picturePushOnHover());
    button->setButtonStyle(2);
    QVERIFY(button->picturePushOnHover());
}

void ZephButtonTest::notifications_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("BackColor") << u"BackColor"_s << QVariant::fromValue(grey(1)) << QStringList{u"BackColor"_s};
    QTest::newRow("ColorScheme notifies itself only") << u"ColorScheme"_s << QVariant(1) << QStringList{u"ColorScheme"_s};
    QTest::newRow("ButtonStyle") << u"ButtonStyle"_s << QVariant(3) << QStringList{u"ButtonStyle"_s};
    QTest::newRow("Mode announces Value first") << u"Mode"_s << QVariant(1) << QStringList{u"Value"_s, u"Mode"_s};
    QTest::newRow("ShowFocusRect") << u"ShowFocusRect"_s << QVariant(true) << QStringList{u"ShowFocusRect"_s};
    QTest::newRow("Value on a push button is silent") << u"Value"_s << QVariant(true) << QStringList{};
    QTest::newRow("MousePointer") << u"MousePointer"_s << QVariant(3) << QStringList{u"MousePointer"_s};
    QTest::newRow("Font twice: set, then the change step") << u"Font"_s
        << QVariant::fromValue(FontDescription{QStringLiteral("Serif"), 10})
        << QStringList{u"Font"_s, u"Font"_s};
    QTest::newRow("ToolTipType") << u"ToolTipType"_s << QVariant(1) << QStringList{u"ToolTipType"_s};
}

void ZephButtonTest::notifications()
{
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(QStringList, names);
    auto button = newButton();
    QSignalSpy spy(button.get(), &zephbutton::propertyChanged);
    QVERIFY(button->setProperty(property.toLatin1().constData(), value));
    QStringList seen;
    for (const auto &args : spy)
        seen << args.at(0).toString();
    QCOMPARE(seen, names);
}

void ZephButtonTest::pictureSlots()
{
    auto button = newButton();
    const ButtonPicturePtr down = picture(4, 4, qRgb(1, 1, 1));
    button->setPictureDown(down);
    QCOMPARE(button->pictureNormal(), down); // the same object, not a copy
    QVERIFY(!button->pictureDown());

    const ButtonPicturePtr hot = picture(4, 4, qRgb(2, 2, 2));
    button->setPictureHot(hot);
    button->setPictureDown(down);
    QCOMPARE(button->pictureHot(), hot);
    QCOMPARE(button->pictureDown(), down);

    QSignalSpy spy(button.get(), &zephbutton::propertyChanged);
    button->setPictureNormal(nullptr);
    QVERIFY(!button->pictureHot());
    QVERIFY(!button->pictureDown());
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("PictureHot"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("PictureDown"));
}

void ZephButtonTest::valueAndMode()
{
    auto button = newButton();
    button->setButtonStyle(2);
    button->setValue(true);
    QCOMPARE(button->value(), false);

    button->setMode(1);
    button->setValue(true);
    QCOMPARE(button->value(), true);
    QCOMPARE(button->runtime().state, int(StateDown)); // a checked toggle is drawn pressed
    button->setMode(0);
    QCOMPARE(button->value(), true);
    QCOMPARE(button->runtime().state, int(StateNormal));
}

void ZephButtonTest::mouseIcon()
{
    auto button = newButton();
    button->setHandPointer(true);
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    button->setMouseIcon(Picture{QString(), icon});
    QCOMPARE(button->handPointer(), false);
    QCOMPARE(button->mousePointer(), 99);
    button->setMouseIcon(Picture());
    QCOMPARE(button->mousePointer(), 0);
}

void ZephButtonTest::fontObjectChangesRedrawAndNotify()
{
    auto button = newButton();
    button->setCaption(QStringLiteral("Go"));
    const std::shared_ptr<ButtonFont> font = button->buttonFontRef();
    QSignalSpy spy(button.get(), &zephbutton::propertyChanged);
    font->setBold(true);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Font"));
    QVERIFY(button->fontDescription().bold);
    QVERIFY(button->surface().font().bold());

    // A font object shared with another button reaches both.
    zephbutton other;
    other.resize(40, 20);
    other.setButtonFont(font);
    QSignalSpy otherSpy(&other, &zephbutton::propertyChanged);
    font->setSize(14);
    QCOMPARE(otherSpy.size(), 1);
    QCOMPARE(button->fontDescription().points, 14.0);
}

void ZephButtonTest::saveWritesKeysInOrderWithQuirks()
{
    auto button = newButton();
    PropertyBag bag;
    button->WriteProperties(bag);
    // A new instance differs from the saving defaults in these keys only.
    const QStringList expected{u"ButtonStyle"_s, u"Font"_s, u"BackColor"_s, u"PictureEffectOnOver"_s,
                               u"PictureEffectOnDown"_s, u"CaptionEffects"_s, u"TooltipBackColor"_s};
    QCOMPARE(bag.names(), expected);
    QCOMPARE(bag.read<qint32>(QStringLiteral("captioneffects"), 7), std::optional<qint32>(0));
    QCOMPARE(bag.read<qint32>(QStringLiteral("PictureEffectOnOver"), 1), std::optional<qint32>(0));
    QVERIFY(!bag.contains(QStringLiteral("Caption"))); // "zephbutton1" is the default
}

void ZephButtonTest::everyKeyInItsOrder()
{
    auto button = newButton();
    const QJsonObject changed{
        {u"ButtonStyle"_s, 3}, {u"ShowFocusRect"_s, true}, {u"Enabled"_s, false},
        {u"BackColor"_s, QJsonObject{{u"colour"_s, u"rgb(1, 2, 3)"_s}}}, {u"Caption"_s, u"x"_s},
        {u"ForeColor"_s, QJsonObject{{u"colour"_s, u"rgb(1, 2, 3)"_s}}},
        {u"ForeColorHover"_s, QJsonObject{{u"colour"_s, u"rgb(1, 2, 3)"_s}}}, {u"Mode"_s, 1}, {u"Value"_s, true},
        {u"MousePointer"_s, 3}, {u"HandPointer"_s, true}, {u"PictureAlign"_s, 4}, {u"PictureEffectOnOver"_s, 2},
        {u"PictureEffectOnDown"_s, 1}, {u"PicturePushOnHover"_s, true}, {u"PictureShadow"_s, true},
        {u"PictureOpacity"_s, 9}, {u"PictureOpacityOnOver"_s, 9}, {u"DisabledPictureMode"_s, 1},
        {u"CaptionEffects"_s, 2}, {u"UseMaskColor"_s, false},
        {u"MaskColor"_s, QJsonObject{{u"colour"_s, u"rgb(1, 2, 3)"_s}}}, {u"CaptionAlign"_s, 2},
        {u"ToolTip"_s, u"t"_s}, {u"TooltipType"_s, 1}, {u"TooltipIcon"_s, 2}, {u"TooltipTitle"_s, u"t"_s},
        {u"TooltipBackColor"_s, QJsonObject{{u"colour"_s, u"rgb(1, 2, 3)"_s}}}, {u"RightToLeft"_s, true},
        {u"DropDownSymbol"_s, 6}, {u"DropDownSeparator"_s, true}, {u"ColorScheme"_s, 1}};
    zephbutton loaded;
    loaded.resize(40, 20);
    QCOMPARE(loaded.ReadProperties(PropertyBag::fromJson(changed)), QStringList());
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    loaded.setMouseIcon(Picture{QString(), image}); // turns HandPointer off
    loaded.setHandPointer(true);
    loaded.setMousePointer(3);
    loaded.setPictureNormalValue(Picture{QString(), image});
    loaded.setPictureHotValue(Picture{QString(), image});
    loaded.setPictureDownValue(Picture{QString(), image});
    loaded.setFontDescription(FontDescription{u"Serif"_s, 12});
    PropertyBag bag;
    loaded.WriteProperties(bag);
    const QStringList order{
        u"ButtonStyle"_s, u"ShowFocusRect"_s, u"Enabled"_s, u"Font"_s, u"BackColor"_s, u"Caption"_s,
        u"ForeColor"_s, u"ForeColorHover"_s, u"Mode"_s, u"Value"_s, u"MousePointer"_s, u"HandPointer"_s,
        u"MouseIcon"_s, u"PictureNormal"_s, u"PictureHot"_s, u"PictureDown"_s, u"PictureAlign"_s,
        u"PictureEffectOnOver"_s, u"PictureEffectOnDown"_s, u"PicturePushOnHover"_s, u"PictureShadow"_s,
        u"PictureOpacity"_s, u"PictureOpacityOnOver"_s, u"DisabledPictureMode"_s, u"CaptionEffects"_s,
        u"UseMaskColor"_s, u"MaskColor"_s, u"CaptionAlign"_s, u"ToolTip"_s, u"TooltipType"_s,
        u"TooltipIcon"_s, u"TooltipTitle"_s, u"TooltipBackColor"_s, u"RightToLeft"_s, u"DropDownSymbol"_s,
        u"DropDownSeparator"_s, u"ColorScheme"_s};
    QCOMPARE(bag.names(), order);
}

void ZephButtonTest::loadRunsNoSideEffects()
{
    PropertyBag bag;
    bag.setValue(QStringLiteral("buttonstyle"), qint32(3));
    bag.setValue(QStringLiteral("backcolor"), Colour::rgb(1, 2, 3));
    bag.setValue(QStringLiteral("colorscheme"), qint32(1));
    zephbutton button;
    button.resize(50, 20);
    QSignalSpy spy(&button, &zephbutton::propertyChanged);
    QVERIFY(button.ReadProperties(bag).isEmpty());
    QCOMPARE(spy.size(), 0);
    QCOMPARE(button.backColor(), Colour::rgb(1, 2, 3));
    QCOMPARE(button.colorScheme(), 1);
    QCOMPARE(button.caption(), QStringLiteral("zephbutton1"));
    QCOMPARE(button.captionEffects(), 0);
    QCOMPARE(button.pictureEffectOnOver(), 1);
    QCOMPARE(button.tooltipBackColor(), Colour::rgb(255, 255, 225));
    QCOMPARE(button.showFocusRect(), false);
    QCOMPARE(button.fontDescription(), FontDescription::ambient());
    // An empty bag gives the system face when no BackColor is stored.
    zephbutton empty;
    empty.ReadProperties(PropertyBag());
    QCOMPARE(empty.backColor(), grey(240));
    QCOMPARE(empty.buttonStyle(), 1);
}

void ZephButtonTest::loadSkipsWrongTypes()
{
    PropertyBag bag;
    bag.setValue(QStringLiteral("Caption"), qint32(5));
    bag.setValue(QStringLiteral("PictureOpacity"), qint32(300));
    bag.setValue(QStringLiteral("Mode"), QStringLiteral("two"));
    bag.setValue(QStringLiteral("ToolTip"), QStringLiteral("still read"));
    zephbutton button;
    for (int i = 0; i < 3; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saved property .* cannot be read"_s));
    const QStringList failed = button.ReadProperties(bag);
    QCOMPARE(failed, (QStringList{u"Caption"_s, u"PictureOpacity"_s, u"Mode"_s}));
    QCOMPARE(button.toolTip(), QStringLiteral("still read"));
}

void ZephButtonTest::unreadablePictureLeavesSlotEmpty()
{
    // A form file whose picture cannot be read: reported once, the slot stays
    // empty, and the rest of the button loads and draws.
    const QJsonObject json{{u"PictureNormal"_s, QJsonObject{{u"picture"_s, u"no/such/picture.bmp"_s}}},
                           {u"Caption"_s, u"OK"_s},
                           {u"ButtonStyle"_s, 10}};
    zephbutton button;
    button.resize(40, 20);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saved property PictureNormal .* cannot be read"_s));
    QCOMPARE(button.ReadProperties(PropertyBag::fromJson(json, QDir::tempPath())), QStringList{u"PictureNormal"_s});
    QVERIFY(!button.pictureNormal());
    QCOMPARE(button.caption(), u"OK"_s);
    QCOMPARE(button.buttonStyle(), 10);
    QVERIFY(!button.surface().isEmpty());
}

void ZephButtonTest::roundTripThroughJson()
{
    auto button = newButton();
    button->setButtonStyle(10);
    button->setCaption(QStringLiteral("生成列表"));
    button->setBackColor(Colour::rgb(173, 209, 255));
    button->setPictureEffectOnOver(0);
    button->setPictureEffectOnDown(0);
    button->setCaptionEffects(0);
    button->setTooltipBackColor(Colour(0));
    button->setToolTip(QStringLiteral("tip"));
    button->setMode(2);
    button->setValue(true);
    button->setPictureNormal(picture(3, 2, qRgb(9, 8, 7)));
    button->setRightToLeft(true);

    PropertyBag bag;
    button->WriteProperties(bag);
    const PropertyBag reread = PropertyBag::fromJson(bag.toJson());
    zephbutton loaded;
    loaded.resize(61, 23);
    QCOMPARE(loaded.ReadProperties(reread), QStringList());
    PropertyBag again;
    loaded.WriteProperties(again);
    QCOMPARE(again.toJson(), bag.toJson());
    QCOMPARE(loaded.caption(), QStringLiteral("生成列表"));
    QCOMPARE(loaded.mode(), 2);
    QVERIFY(loaded.value());
    QVERIFY(loaded.tooltipRightToLeft());
    QCOMPARE(loaded.pictureNormal()->pixels().pixel(2, 1), qRgb(9, 8, 7));
}

void ZephButtonTest::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("single") << u"&Copy"_s << u"c"_s;
    QTest::newRow("one character") << u"&"_s << u""_s;
    QTest::newRow("lone ampersand at end") << u"Copy&"_s << u""_s;
    QTest::newRow("doubled, nothing after") << u"Save && Load"_s << u""_s;
    QTest::newRow("doubled then single") << u"Save && &Load"_s << u"l"_s;
    QTest::newRow("doubled twice") << u"Save && Load && &Quit"_s << u""_s;
    QTest::newRow("none") << u"Plain"_s << u""_s;
}

void ZephButtonTest::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    const QChar found = zephbutton::accessKeyFor(caption);
    QCOMPARE(found.isNull() ? QString() : QString(found), key);
}

void ZephButtonTest::openWebsiteAndAbout()
{
    auto button = newButton();
    RecordingShellOpener opener;
    button->setShellOpener(&opener);
    QVERIFY(button->OpenWebsite(QStringLiteral("http://127.0.0.1/x")));
    QVERIFY(!button->OpenWebsite(QStringLiteral("/bin/sh")));
    QCOMPARE(opener.opened().size(), 1);

    QString title;
    button->setAboutPresenter([&](QWidget *, const QString &t, const QString &) { title = t; });
    button->About();
    QCOMPARE(title, QStringLiteral("About"));
}

void ZephButtonTest::stylePixels_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("state");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<Colour>("expected");
    // 20 x 12 buttons, default scheme of each style, no caption.
    const Colour blueBack = Colour::rgb(173, 209, 255);
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
    QTest::newRow("8 frame") << 8 << 0 << QPoint(0, 5) << ShiftColor(blueBack, -0.34f);
    QTest::newRow("9 white inner line") << 9 << 0 << QPoint(1, 6) << grey(255);
    QTest::newRow("10 normal frame") << 10 << 0 << QPoint(0, 5) << ShiftColor(blueBack, -0.33f);
    QTest::newRow("10 row 5 keeps the fill") << 10 << 0 << QPoint(10, 5) << ShiftColor(blueBack, -0.03f);
    QTest::newRow("10 top band starts light") << 10 << 0 << QPoint(10, 1)
        << Colour::rgb(224, 244, 255); // entry 1 of (240, 255, 255) -> C over 5 rows
    QTest::newRow("10 hot corners") << 10 << 1 << QPoint(1, 1) << ShiftColor(blueBack, -0.36f);
}

void ZephButtonTest::stylePixels()
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

void ZephButtonTest::windowRegions()
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

void ZephButtonTest::themedFallsBackWithoutThemes()
{
    zephbutton::setVisualThemesAvailable(false);
    auto button = newButton(QSize(20, 12));
    zephbutton::setVisualThemesAvailable(true);
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

void ZephButtonTest::paleOwnsCaptionColour()
{
    auto button = newButton(QSize(30, 15));
    button->setButtonStyle(6);
    button->setForeColor(Colour::rgb(200, 0, 0));
    button->runtime().state = StateDown;
    button->Redraw();
    QCOMPARE(button->foreColor(), grey(255));
    button->runtime().state = StateNormal;
    button->Redraw();
    QCOMPARE(button->foreColor(), grey(0));
}

void ZephButtonTest::checkedToggleLooksPressed()
{
    auto button = newButton(QSize(20, 12));
    button->setCaption(QString());
    button->setButtonStyle(1);
    button->setMode(1);
    button->setValue(true);
    // A checked flat button: lightened face and a sunken edge.
    QCOMPARE(at(*button, 10, 6), ShiftColor(grey(240), 0.02f));
    QCOMPARE(at(*button, 0, 5), grey(160));
    button->setButtonStyle(12);
    QCOMPARE(at(*button, 0, 5), ShiftColor(grey(240), 0.02f));
}

void ZephButtonTest::anySizeDraws_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1x1") << QSize(1, 1);
    QTest::newRow("2x3") << QSize(2, 3);
    QTest::newRow("5x1") << QSize(5, 1);
    QTest::newRow("1x7") << QSize(1, 7);
}

void ZephButtonTest::anySizeDraws()
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

void ZephButtonTest::captionAndSymbolColours()
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

void ZephButtonTest::pictureOnTheFace()
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

void ZephButtonTest::separatorTakesItsShadesFromTheFace()
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

void ZephButtonTest::focusRectangleOnlyWhenRunning()
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

QTEST_MAIN(ZephButtonTest)
#include "tst_zephbutton.moc"
