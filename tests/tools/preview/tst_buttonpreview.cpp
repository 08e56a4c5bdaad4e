// lumisong-preview with the skinned button: the designed pixels for styles,
// states and flags on sizes the other tests do not use, pictures from files,
// and --describe.

#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <QTest>

#include "controls/button/colourmath.h"
#include "tests/tools/preview/previewprocess.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

using Run = PreviewProcess;

Run preview(const QStringList &arguments)
{
    return PreviewProcess::run(arguments);
}

QRgb rgba(const Colour &c)
{
    return qRgba(c.red(), c.green(), c.blue(), 255);
}

} // namespace

class ButtonPreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void pixels_data();
    void pixels();
    void pictureFromFile();
    void unreadablePictureIsAnError();
    void badOptions_data();
    void badOptions();
    void describe();
    void scales_data();
    void scales();

private:
    QTemporaryDir m_dir;
};

void ButtonPreviewTest::pixels_data()
{
    Test::addColumns<QStringList, QSize, QPoint, QRgb>({"arguments", "size", "point", "expected"});
    const Colour blue = Colour::rgb(173, 209, 255);
    const QStringList bevel{u"--set"_s, u"ButtonStyle=10"_s, u"--set"_s, u"Caption="_s};
    QTest::newRow("bevel frame") << bevel << QSize(47, 19) << QPoint(0, 9) << rgba(ShiftColor(blue, -0.33f));
    QTest::newRow("bevel corner outside the shape") << bevel << QSize(47, 19) << QPoint(0, 0) << qRgba(0, 0, 0, 0);
    QTest::newRow("bevel hot corner pixel") << (bevel + QStringList{u"--state"_s, u"hot"_s}) << QSize(47, 19)
                                            << QPoint(45, 17) << rgba(ShiftColor(blue, -0.36f));
    QTest::newRow("soft gradient hover ring")
        << QStringList{u"--set"_s, u"ButtonStyle=2"_s, u"--set"_s, u"Caption="_s, u"--state"_s, u"hot"_s}
        << QSize(33, 17) << QPoint(10, 15) << qRgba(229, 151, 0, 255);
    QTest::newRow("soft gradient default ring needs an active form")
        << QStringList{u"--set"_s, u"ButtonStyle=2"_s, u"--set"_s, u"Caption="_s, u"--default"_s, u"--active"_s}
        << QSize(33, 17) << QPoint(10, 15) << qRgba(105, 130, 238, 255);
    QTest::newRow("themes off falls back to the blue soft gradient")
        << QStringList{u"--no-theme"_s, u"--set"_s, u"Caption="_s} << QSize(41, 21) << QPoint(20, 0)
        << qRgba(0, 60, 116, 255);
    QTest::newRow("classic focused: black outer frame")
        << QStringList{u"--set"_s, u"ButtonStyle=0"_s, u"--set"_s, u"Caption="_s, u"--focus"_s, u"--active"_s}
        << QSize(37, 21) << QPoint(36, 10) << qRgba(0, 0, 0, 255);
    QTest::newRow("classic pressed inner frame")
        << QStringList{u"--set"_s, u"ButtonStyle=0"_s, u"--set"_s, u"Caption="_s, u"--state"_s, u"down"_s}
        << QSize(37, 21) << QPoint(1, 10) << qRgba(172, 168, 153, 255);
    QTest::newRow("toolbar olive hover frame")
        << QStringList{u"--set"_s, u"ButtonStyle=4"_s, u"--set"_s, u"ColorScheme=1"_s, u"--set"_s, u"Caption="_s,
                       u"--state"_s, u"hot"_s}
        << QSize(29, 25) << QPoint(28, 24) << qRgba(147, 160, 112, 255);
    QTest::newRow("olive soft gradient outline")
        << QStringList{u"--set"_s, u"ButtonStyle=2"_s, u"--set"_s, u"ColorScheme=1"_s, u"--set"_s, u"Caption="_s}
        << QSize(29, 25) << QPoint(14, 24) << qRgba(55, 98, 6, 255);
    QTest::newRow("down-triangle symbol in the caption colour")
        << QStringList{u"--set"_s, u"ButtonStyle=4"_s, u"--set"_s, u"Caption="_s, u"--set"_s, u"DropDownSymbol=6"_s,
                       u"--set"_s, u"ForeColor=rgb(200, 0, 0)"_s}
        << QSize(64, 23) << QPoint(64 - 15 + 7, 4 + 6) << qRgba(200, 0, 0, 255);
}

void ButtonPreviewTest::pixels()
{
    QFETCH(QStringList, arguments);
    QFETCH(QSize, size);
    QFETCH(QPoint, point);
    QFETCH(QRgb, expected);
    const QString out = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".png"_s);
    const Run run = preview(QStringList{u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s,
                                        u"%1x%2"_s.arg(size.width()).arg(size.height()), u"--out"_s, out}
                            + arguments);
    QCOMPARE(run.status, 0);
    const QImage image(out);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixel(point), expected);
}

void ButtonPreviewTest::pictureFromFile()
{
    QImage picture(6, 4, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 255));
    picture.setPixel(0, 0, qRgba(10, 20, 30, 0));
    const QString file = m_dir.filePath(u"picture.png"_s);
    QVERIFY(picture.save(file));
    const QString out = m_dir.filePath(u"picture-out.png"_s);
    const Run run = preview({u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s, u"30x20"_s, u"--set"_s,
                             u"ButtonStyle=4"_s, u"--set"_s, u"Caption="_s, u"--set"_s,
                             u"PictureNormal="_s + file, u"--out"_s, out});
    QCOMPARE(run.status, 0);
    const QImage image(out);
    // Centred at ((30 - 6) / 2, (20 - 4) / 2) = (12, 8); the alpha-0 corner keeps the face.
    QCOMPARE(image.pixel(13, 9), qRgba(10, 20, 30, 255));
    QCOMPARE(image.pixel(12, 8), qRgba(240, 240, 240, 255));
}

void ButtonPreviewTest::unreadablePictureIsAnError()
{
    const Run run = preview({u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s, u"30x20"_s, u"--set"_s,
                             u"PictureNormal="_s + m_dir.filePath(u"missing.png"_s), u"--out"_s,
                             m_dir.filePath(u"x.png"_s)});
    QCOMPARE(run.status, 2);
    QVERIFY(run.errors.contains("missing.png"));
}

void ButtonPreviewTest::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown state") << QStringList{u"--control"_s, u"Lumisong.zephbutton"_s, u"--state"_s, u"pressed"_s};
    QTest::newRow("state for the progress bar") << QStringList{u"--control"_s, u"Lumisong.ProgressBar"_s,
                                                              u"--state"_s, u"hot"_s};
    QTest::newRow("no-theme for the progress bar") << QStringList{u"--control"_s, u"Lumisong.ProgressBar"_s,
                                                                 u"--no-theme"_s};
    QTest::newRow("unknown property") << QStringList{u"--control"_s, u"Lumisong.zephbutton"_s, u"--set"_s,
                                                     u"Colour=1"_s};
    QTest::newRow("describe an unknown control") << QStringList{u"--describe"_s, u"Lumisong.Nothing"_s};
}

void ButtonPreviewTest::badOptions()
{
    QFETCH(QStringList, arguments);
    const Run run = preview(arguments + QStringList{u"--size"_s, u"20x20"_s, u"--out"_s, m_dir.filePath(u"bad.png"_s)});
    QCOMPARE(run.status, 2);
    QVERIFY(!run.errors.isEmpty());
}

void ButtonPreviewTest::describe()
{
    const Run run = preview({u"--describe"_s, u"Lumisong.zephbutton"_s});
    QCOMPARE(run.status, 0);
    const QStringList lines = QString::fromUtf8(run.output).split(u'\n', Qt::SkipEmptyParts);
    QStringList properties;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 6);
        if (fields.at(0) == u"property"_s)
            properties << fields.at(1);
        if (fields.at(1) == u"PictureEffectOnOver"_s) {
            QCOMPARE(fields.at(3), u"0"_s);
            QCOMPARE(fields.at(4), u"1"_s);
            QCOMPARE(fields.at(5), u"Returns/Sets the Picture Effects to be applied when the mouseis over the control."_s);
        }
        if (fields.at(1) == u"MouseEnter"_s)
            QCOMPARE(fields.at(5), u"Occrus when the cursor moves around the button for the first time."_s);
        if (fields.at(1) == u"MousePointer"_s)
            QCOMPARE(fields.at(2), u"Long"_s); // read and written as a 32-bit value
    }
    // The message sink is public too.
    QVERIFY(lines.contains(u"method\tSubclass_WndProc\t(bBefore, bHandled, lReturn, lHwnd, uMsg, wParam, lParam)\t\t\t"_s));
    QCOMPARE(properties.size(), 38);
    QVERIFY(properties.contains(u"ColorScheme"_s));

    const Run bar = preview({u"--describe"_s, u"Lumisong.ProgressBar"_s});
    QCOMPARE(bar.status, 0);
    QVERIFY(bar.output.contains("Progressbar Style Custome Color 1."));
}

QTEST_GUILESS_MAIN(ButtonPreviewTest)
void ButtonPreviewTest::scales_data()
{
    QTest::addColumn<QStringList>("control");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("scale");
    // The designed "全选(&A)" and the bar as a list-file run shows it.
    const QStringList button{u"--control"_s, u"Lumisong.zephbutton"_s, u"--set"_s, u"ButtonStyle=10"_s,
                             u"--set"_s, u"Font=Tahoma,8.25"_s, u"--set"_s, u"Caption=全选(&A)"_s};
    const QStringList bar{u"--control"_s, u"Lumisong.ProgressBar"_s, u"--set"_s,
                          u"Text=正在处理第 0/3 个选中的项目..."_s};
    for (const double scale : {1.0, 1.5, 2.0}) {
        QTest::addRow("button at %g", scale) << button << QSize(61, 23) << scale;
        QTest::addRow("progress bar at %g", scale) << bar << QSize(300, 20) << scale;
    }
}

// A control at a device pixel ratio: at 1 the pixels of today; above it,
// shapes scaled, but the text drawn anew at the screen's resolution rather
// than enlarged from 1x.
void ButtonPreviewTest::scales()
{
    QFETCH(QStringList, control);
    QFETCH(QSize, size);
    QFETCH(double, scale);
    const QString size1 = QString::number(size.width()) + u'x' + QString::number(size.height());
    const QString plain = m_dir.filePath(u"plain.png"_s);
    const QString scaled = m_dir.filePath(u"scaled.png"_s);
    QCOMPARE(preview(control + QStringList{u"--size"_s, size1, u"--out"_s, plain}).status, 0);
    const Run run = preview(control + QStringList{u"--size"_s, size1, u"--scale"_s, QString::number(scale),
                                                  u"--out"_s, scaled});
    QVERIFY2(run.status == 0, run.errors.constData());
    const QImage one = QImage(plain).convertToFormat(QImage::Format_ARGB32);
    const QImage image = QImage(scaled).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale))));
    if (scale == 1.0) {
        QCOMPARE(image, one);
        return;
    }
    const bool whole = scale == std::floor(scale);
    const QImage enlarged =
        one.scaled(image.size(), Qt::IgnoreAspectRatio, whole ? Qt::FastTransformation : Qt::SmoothTransformation);
    int textPixels = 0;
    const int border = int(std::ceil(2 * scale)); // the frame's two pixels
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= border && y >= border && x < image.width() - border
                                && y < image.height() - border;
            if (image.pixel(x, y) != enlarged.pixel(x, y)) {
                ++textPixels;
                // At whole ratios the shapes are the 1x ones, pixel for pixel.
                if (whole)
                    QVERIFY2(inside, qPrintable(u"(%1, %2)"_s.arg(x).arg(y)));
            }
        }
    }
    QVERIFY2(textPixels > 20, qPrintable(QString::number(textPixels)));
}

#include "tst_buttonpreview.moc"
