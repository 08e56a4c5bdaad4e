#include <QtTest>

#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "controls/progressbar/progressbar.h"
#include "controls/progressbar/progressbarpalette.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "platform/twips.h"

using namespace Lumisong;

class tst_process : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SystemColours::pinStandard(); }
    void loadsHiddenWithItsSavedLook();
    void savesWhatTheFormFileHolds();

private:
    static std::unique_ptr<frmMain> form()
    {
        return std::make_unique<frmMain>(
            frmMain::Environment{nullptr, nullptr, nullptr, QStringLiteral("http://127.0.0.1:9"), {}});
    }
};

void tst_process::loadsHiddenWithItsSavedLook()
{
    const auto window = form();
    window->show();
    auto *bar = qobject_cast<ProgressBar *>(Test::formControl<ProgressBar>(window.get(), "process"));
    QVERIFY(bar);
    QCOMPARE(bar->objectName(), QStringLiteral("process"));
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->geometry(), QRect(Twips::toPixels(540), Twips::toPixels(3825),
                                    Twips::toPixels(11595), Twips::toPixels(585)));
    QCOMPARE(bar->theme(), 8);
    QCOMPARE(bar->textStyle(), 3);
    QCOMPARE(bar->textEffect(), 5);
    QCOMPARE(bar->textEffectColor(), Colour::rgb(255, 255, 255));
    QCOMPARE(bar->text(), QStringLiteral("process"));
    QCOMPARE(bar->textFont(), FontDescription::ambient());
    QCOMPARE(bar->max(), 100);
    QCOMPARE(bar->value(), 50);
    QCOMPARE(bar->textAlignment(), 5);
    // Drawn at its designed size with theme 8's border.
    QCOMPARE(bar->surface().size(), bar->size());
    QCOMPARE(bar->surface().pixel(0, bar->height() / 2),
             ProgressBarPalette::forTheme(8, Colour(), Colour())->at(ProgressBarPalette::Border));

    // The main window shows it while it writes a list file.
    bar->setVisible(true);
    QVERIFY(bar->isVisible());
}

void tst_process::savesWhatTheFormFileHolds()
{
    const auto window = form();
    PropertyBag saved;
    qobject_cast<ProgressBar *>(Test::formControl<ProgressBar>(window.get(), "process"))->UserControl_WriteProperties(saved);
    QStringList names = saved.names();
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("Text"), QStringLiteral("TextEffect"),
                                 QStringLiteral("TextEffectColor"), QStringLiteral("TextStyle"),
                                 QStringLiteral("Theme")}));
}

QTEST_MAIN(tst_process)
#include "tst_process.moc"
