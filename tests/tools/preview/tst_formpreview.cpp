#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "tests/tools/preview/previewprocess.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QImage skin(const char *name)
{
    return QImage(qEnvironmentVariable("LUMISONG_SOURCE_DIR") + u"/app/skin/"_s +
                  QString::fromLatin1(name));
}

} // namespace

class tst_FormPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendersTheLaidOutForm_data();
    void rendersTheLaidOutForm();
    void errors_data();
    void errors();

private:
    QTemporaryDir m_dir;
};

void tst_FormPreview::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(!skin("title.png").isNull(), "LUMISONG_SOURCE_DIR names no source tree");
}

void tst_FormPreview::rendersTheLaidOutForm_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("size"); // empty: as designed
    QTest::addColumn<QSize>("expected");
    QTest::newRow("main window") << u"frmMain"_s << QString() << QSize(845, 549);
    QTest::newRow("update dialog") << u"frmUpdate"_s << QString() << QSize(300, 222);
    QTest::newRow("main window, other size") << u"frmMain"_s << u"500x300"_s << QSize(500, 300);
    QTest::newRow("update dialog, other size") << u"frmUpdate"_s << u"360x240"_s << QSize(360, 240);
}

void tst_FormPreview::rendersTheLaidOutForm()
{
    QFETCH(QString, form);
    QFETCH(QString, size);
    QFETCH(QSize, expected);
    const QString out = m_dir.filePath(form + size + u".png"_s);
    QStringList arguments{u"--form"_s, form, u"--out"_s, out};
    if (!size.isEmpty())
        arguments << u"--size"_s << size;
    const PreviewProcess run = PreviewProcess::run(arguments);
    QCOMPARE(run.status, 0);
    const QImage image(out);
    QCOMPARE(image.size(), expected);

    // The strips run across the whole width: the title strip's first row at
    // the top, the bottom strip's last row at the bottom (the dialog's skin
    // comes from the main window).
    const QImage title = skin("title.png");
    const QImage bottom = skin("bottom.png");
    for (int x : {0, expected.width() / 2, expected.width() - 1}) {
        QCOMPARE(image.pixel(x, 0), title.pixel(0, 0));
        QCOMPARE(image.pixel(x, expected.height() - 1), bottom.pixel(0, bottom.height() - 1));
    }
}

void tst_FormPreview::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown form") << QStringList{u"--form"_s, u"frmMenu"_s, u"--out"_s, u"x.png"_s}
                                  << u"unknown form"_s;
    QTest::newRow("with a control")
        << QStringList{u"--form"_s, u"frmMain"_s, u"--control"_s, u"Lumisong.ProgressBar"_s,
                       u"--out"_s,  u"x.png"_s}
        << u"--control"_s;
    QTest::newRow("with a property") << QStringList{u"--form"_s,    u"frmMain"_s, u"--set"_s,
                                                    u"Caption=x"_s, u"--out"_s,   u"x.png"_s}
                                     << u"--set"_s;
    QTest::newRow("without an output") << QStringList{u"--form"_s, u"frmMain"_s} << u"--out"_s;
    QTest::newRow("malformed size")
        << QStringList{u"--form"_s, u"frmMain"_s, u"--size"_s, u"0x5"_s, u"--out"_s, u"x.png"_s}
        << u"malformed size"_s;
}

void tst_FormPreview::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const PreviewProcess run = PreviewProcess::run(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(QString::fromLocal8Bit(run.errors).contains(message), run.errors.constData());
}

QTEST_GUILESS_MAIN(tst_FormPreview)
#include "tst_formpreview.moc"
