#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "forms/formdesign.h"
#include "forms/formloader.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/propertybag.h"
#include "platform/twips.h"
#include "platform/ui/imagebox.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

class tst_FormLoader : public QObject
{
    Q_OBJECT

private slots:
    void rejectsBrokenFormFiles_data();
    void rejectsBrokenFormFiles();
    void buildsControlsAtTheirTwipsPositions();
    void buildsTheFrameAndDialogControls();
    void unreadableProgressBarEntriesKeepPlacedValues();
    void unknownTypeIsReported();
    void registeredTypeIsBuilt();
};

void tst_FormLoader::rejectsBrokenFormFiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("errorHas");
    QTest::newRow("not json") << QByteArray("{") << u"offset"_s;
    QTest::newRow("array") << QByteArray("[]") << u"one JSON object"_s;
    QTest::newRow("progress bar larger than a screen")
        << QByteArray(R"({"name": "f", "controls": [{"name": "a", "type": "Lumisong.ProgressBar",
                                                    "width": 600000, "height": 600000}]})")
        << u"more than 1048576 pixels"_s;
    QTest::newRow("skinned buttons larger than a screen together")
        << QByteArray(R"({"name": "f", "controls": [
                          {"name": "a", "type": "Lumisong.zephbutton", "width": 15360, "height": 15360},
                          {"name": "b", "type": "Lumisong.zephbutton", "width": 15000, "height": 15}]})")
        << u"more than 1048576 pixels"_s;
    QTest::newRow("too large")
        << QByteArray(R"({"name": "f", "caption": ")") + QByteArray(FormDesign::MaxBytes, 'x')
               + QByteArray(R"("})")
        << u"at most"_s;
    QTest::newRow("no name") << QByteArray(R"({"controls": []})") << u"no name"_s;
    QTest::newRow("size as text") << QByteArray(R"({"name": "f", "clientWidth": "wide"})")
                                  << u"clientWidth"_s;
    QTest::newRow("control without type")
        << QByteArray(R"({"name": "f", "controls": [{"name": "a"}]})") << u"type"_s;
    QTest::newRow("two controls of one name")
        << QByteArray(R"({"name": "f", "controls": [{"name": "a", "type": "Label"},
                                                   {"name": "a", "type": "Timer"}]})")
        << u"two controls named a"_s;
    QTest::newRow("position as text")
        << QByteArray(R"({"name": "f", "controls": [{"name": "a", "type": "Label", "top": "x"}]})")
        << u"a: \"top\""_s;
}

void tst_FormLoader::rejectsBrokenFormFiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, errorHas);
    QString error;
    QVERIFY(!FormDesign::fromJson(json, &error));
    QVERIFY2(error.contains(errorHas), qPrintable(error));
}

void tst_FormLoader::buildsControlsAtTheirTwipsPositions()
{
    const QByteArray json = R"json({"name": "frmTest", "caption": "Test",
        "clientWidth": 3000, "clientHeight": 1500,
        "controls": [
          {"name": "lblA", "type": "Label", "left": 150, "top": 300, "width": 0, "height": 180,
           "properties": {"Caption": "自动", "AutoSize": true, "ToolTipText": "tip"}},
          {"name": "btnB", "type": "CommandButton", "left": 15, "top": 30, "width": 915, "height": 345,
           "properties": {"Caption": "生成列表", "Enabled": false}},
          {"name": "tmr", "type": "Timer", "properties": {"Interval": 250, "Enabled": true}},
          {"name": "btSkin", "type": "Lumisong.zephbutton", "left": 300, "top": 45, "width": 795, "height": 345,
           "properties": {"ButtonStyle": 10, "Caption": "是(&Y)"}}
        ]})json";
    QString error;
    const auto design = FormDesign::fromJson(json, &error);
    QVERIFY2(design, qPrintable(error));
    QWidget form;
    QVERIFY2(FormLoader().build(&form, *design, &error), qPrintable(error));

    const qreal dpi = Twips::screenDpi();
    QCOMPARE(form.objectName(), u"frmTest"_s);
    QCOMPARE(form.windowTitle(), u"Test"_s);
    QCOMPARE(form.size(), QSize(Twips::toPixels(3000, dpi), Twips::toPixels(1500, dpi)));

    auto *label = form.findChild<QLabel *>(u"lblA"_s);
    QVERIFY(label);
    QCOMPARE(label->pos(), QPoint(Twips::toPixels(150, dpi), Twips::toPixels(300, dpi)));
    QCOMPARE(label->size(), label->sizeHint()); // sized to its text, not to the design
    QCOMPARE(label->toolTip(), u"tip"_s);

    auto *button = form.findChild<QPushButton *>(u"btnB"_s);
    QVERIFY(button);
    QCOMPARE(button->geometry(), QRect(Twips::toPixels(15, dpi), Twips::toPixels(30, dpi),
                                       Twips::toPixels(915, dpi), Twips::toPixels(345, dpi)));
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), u"生成列表"_s);

    auto *timer = form.findChild<QTimer *>(u"tmr"_s);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 250);
    QVERIFY(timer->isActive());

    // The skinned button reads its saved properties; what the bag leaves out
    // keeps the saved default.
    auto *skinned = form.findChild<zephbutton *>(u"btSkin"_s);
    QVERIFY(skinned);
    QCOMPARE(skinned->geometry(), QRect(Twips::toPixels(300, dpi), Twips::toPixels(45, dpi),
                                        Twips::toPixels(795, dpi), Twips::toPixels(345, dpi)));
    QCOMPARE(skinned->buttonStyle(), 10);
    QCOMPARE(skinned->caption(), u"是(&Y)"_s);
    QCOMPARE(skinned->accessKey(), QChar(u'y'));
    QVERIFY(skinned->isEnabled());
}

void tst_FormLoader::buildsTheFrameAndDialogControls()
{
    const QByteArray json = R"json({"name": "f", "controls": [
          {"name": "img", "type": "Image", "left": 0, "top": 0, "width": 435, "height": 435,
           "properties": {"Stretch": true, "Picture": {"picture": ":/skin/title.png"}}},
          {"name": "imgMissing", "type": "Image", "width": 150, "height": 150,
           "properties": {"Picture": {"picture": ":/no/such.png"}}},
          {"name": "lbl", "type": "Label", "properties": {"Caption": "标题", "AutoSize": true,
           "Font": {"font": {"face": "宋体", "points": 9, "bold": true, "charset": 134}}}},
          {"name": "txt", "type": "TextBox", "width": 1500, "height": 600,
           "properties": {"MultiLine": true, "ScrollBars": 2, "Locked": true, "Text": "a"}},
          {"name": "chkSmall", "type": "CheckBox", "left": 60, "top": 60, "width": 15, "height": 15,
           "properties": {"Caption": "", "Value": 1}}
        ]})json";
    QString error;
    const auto design = FormDesign::fromJson(json, &error);
    QVERIFY2(design, qPrintable(error));
    QWidget form;
    QVERIFY2(FormLoader().build(&form, *design, &error), qPrintable(error));

    auto *image = form.findChild<ImageBox *>(u"img"_s);
    QVERIFY(image && image->stretch());
    QCOMPARE(image->picture().image.size(), QSize(29, 29));
    // A picture that cannot be read leaves the image empty; the form still builds.
    QVERIFY(form.findChild<ImageBox *>(u"imgMissing"_s)->picture().isNull());

    QVERIFY(form.findChild<QLabel *>(u"lbl"_s)->font().bold());
    auto *text = form.findChild<QPlainTextEdit *>(u"txt"_s);
    QVERIFY(text->isReadOnly() && text->tabChangesFocus());

    // A check box designed smaller than its box grows to show it whole.
    auto *box = form.findChild<QCheckBox *>(u"chkSmall"_s);
    QVERIFY(box->isChecked());
    QCOMPARE(box->pos(), QPoint(Twips::toPixels(60), Twips::toPixels(60)));
    QCOMPARE(box->size(), box->size().expandedTo(box->minimumSizeHint()));
    QVERIFY(box->width() > Twips::toPixels(15));
}

void tst_FormLoader::unreadableProgressBarEntriesKeepPlacedValues()
{
    const QByteArray json = R"json({"name": "f", "controls": [
          {"name": "process", "type": "Lumisong.ProgressBar", "width": 3000, "height": 300,
           "properties": {"Max": "many", "Min": 3, "Value": 40, "Text": 5}}]})json";
    QString error;
    const auto design = FormDesign::fromJson(json, &error);
    QVERIFY2(design, qPrintable(error));
    QWidget form;
    QVERIFY2(FormLoader().build(&form, *design, &error), qPrintable(error));
    auto *bar = form.findChild<ProgressBar *>(u"process"_s);
    QVERIFY(bar);
    QCOMPARE(bar->max(), 100); // not the 0 of a bar never set up, below its Min
    QCOMPARE(bar->min(), 3);
    QCOMPARE(bar->value(), 40);
    QCOMPARE(bar->text(), u"Tarn ProgressBar"_s);

    // What it saves reads back as the same bar.
    PropertyBag saved;
    bar->UserControl_WriteProperties(saved);
    ControlDesign again = design->controls.first();
    again.properties = saved.toJson();
    FormDesign resaved = *design;
    resaved.controls = {again};
    QWidget reloaded;
    QVERIFY(FormLoader().build(&reloaded, resaved, &error));
    PropertyBag savedAgain;
    reloaded.findChild<ProgressBar *>(u"process"_s)->UserControl_WriteProperties(savedAgain);
    QCOMPARE(savedAgain.toJson(), saved.toJson());
}

void tst_FormLoader::unknownTypeIsReported()
{
    QString error;
    const auto design = FormDesign::fromJson(
        R"({"name": "f", "controls": [{"name": "x", "type": "Lumisong.Nothing"}]})", &error);
    QVERIFY(design);
    QWidget form;
    QVERIFY(!FormLoader().build(&form, *design, &error));
    QVERIFY2(error.contains(u"Lumisong.Nothing"_s), qPrintable(error));
}

void tst_FormLoader::registeredTypeIsBuilt()
{
    QString error;
    const auto design = FormDesign::fromJson(
        R"({"name": "f", "controls": [{"name": "own", "type": "Own", "left": 30, "top": 45,
             "width": 300, "height": 150, "properties": {"Text": "x"}}]})",
        &error);
    QVERIFY(design);
    FormLoader loader;
    QString seenText;
    loader.registerType(u"Own"_s, [&seenText](QWidget *form, const ControlDesign &d) {
        seenText = d.properties.value(u"Text").toString();
        return new QWidget(form);
    });
    QWidget form;
    QVERIFY(loader.build(&form, *design, &error));
    QCOMPARE(seenText, u"x"_s);
    auto *own = form.findChild<QWidget *>(u"own"_s);
    QVERIFY(own);
    QCOMPARE(own->pos(), QPoint(Twips::toPixels(30), Twips::toPixels(45)));
}

QTEST_MAIN(tst_FormLoader)
#include "tst_formloader.moc"
