// The skinned button as a widget: new-instance values, the side effects of
// assignments, change notification, the picture slots, and saving and
// loading.

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QJsonObject>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>

#include "buttontesting.h"
#include "controls/button/buttonenums.h"
#include "controls/button/captiontext.h"
#include "controls/button/zephbutton.h"
#include "platform/propertybag.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"
#include "tests/support/recordingshellopener.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Lumisong::ButtonTesting;
using namespace Qt::StringLiterals;

class ZephButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SystemColours::pinStandard();
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
    void designedCaptionsShownWhole_data();
    void designedCaptionsShownWhole();
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
    Test::addColumns<int, int, int, Colour>({"schemeBefore", "style", "scheme", "back"});
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

    // The About box is modal: it is read and closed from the event loop it runs.
    QString title;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    });
    button->About();
    QCOMPARE(title, QStringLiteral("About"));
}

void ZephButtonTest::designedCaptionsShownWhole_data()
{
    QTest::addColumn<QString>("caption");
    for (const char16_t *caption : {u"全选(&A)", u"全不选(&N)", u"反选(&I)", u"生成列表", u"是(&Y)", u"否(&N)"})
        QTest::newRow(QString::fromUtf16(caption).toUtf8().constData()) << QString::fromUtf16(caption);
}

// A designed caption (Tahoma 8.25 on a 61-pixel button) fits one line and is
// drawn whole into the rectangle measured for it, in every locale (CTest runs
// this under C and zh_CN): the same pixels as the caption laid out with
// ample room and clipped to that rectangle.
void ZephButtonTest::designedCaptionsShownWhole()
{
    QFETCH(QString, caption);
    QFont tahoma(u"Tahoma"_s);
    tahoma.setPointSizeF(8.25);
    Surface shown(QSize(90, 40));
    shown.setFont(tahoma);
    const QSize text = CaptionText::measure(shown.font(), caption, 61 - 8, false);
    QCOMPARE(text.height(), QFontMetrics(shown.font()).height());
    const PixelRect rect{20, 10, 20 + text.width(), 10 + text.height()};
    Surface ample(shown.size());
    shown.clear(Colour::rgb(255, 255, 255));
    ample.clear(Colour::rgb(255, 255, 255));
    {
        QPainter painter(&shown.pixels());
        painter.setFont(shown.font());
        CaptionText::draw(painter, caption, rect, Colour::rgb(0, 0, 0), false);
    }
    {
        QPainter painter(&ample.pixels());
        painter.setFont(shown.font());
        painter.setClipRect(rect.toQRect());
        painter.drawText(rect.toQRect().adjusted(-20, 0, 20, 0),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
    }
    QCOMPARE(shown.image(), ample.image());
}

QTEST_MAIN(ZephButtonTest)
#include "tst_zephbutton.moc"
