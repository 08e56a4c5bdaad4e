#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "forms/formloader.h"
#include "app/frmmain.h"
#include "controls/button/zephbutton.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "platform/ui/imagebox.h"
#include "tests/support/recordingshellopener.h"
#include "update/ui/frmupdate.h"
#include "update/remindersetting.h"
#include "update/updatenotice.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

const QString VersionUrl = u"http://127.0.0.1:9/version.html"_s;

// A dialog as the check shows it: built from its form file, with the
// reminder setting in a temporary file and a browser that only records.
struct Harness
{
    QTemporaryDir dir;
    QString iniPath = dir.filePath(u"Tolvane.ini"_s);
    SettingsStore settings = SettingsStore::atPath(iniPath);
    RecordingShellOpener opener;
    std::unique_ptr<frmUpdate> dialog;
    std::unique_ptr<QSignalSpy> catalogue;
    std::unique_ptr<QSignalSpy> programEnd;

    explicit Harness(const QString &url = VersionUrl)
    {
        dialog = std::make_unique<frmUpdate>(frmUpdate::Environment{&settings, &opener, url},
                                             &FormLoader::buildFile);
        catalogue = std::make_unique<QSignalSpy>(dialog.get(), &frmUpdate::catalogueWanted);
        programEnd = std::make_unique<QSignalSpy>(dialog.get(), &frmUpdate::programEndWanted);
        UpdateNotice notice;
        notice.newestVersion = u"1.2.0"_s;
        notice.due = true;
        notice.releaseDate = u"2010-04-27"_s;
        notice.lblUpdate = u"检测到新版本：1.2.0（当前版本：1.1.0）"_s;
        notice.txtNew = u"修正了“列表”\r\n增加了下载"_s;
        notice.titleSuffix = u"(更新于：2010-04-27)"_s;
        dialog->announce(notice);
        dialog->show();
    }

    // The stored keys of section Lumisong, spelled as in the file.
    QStringList storedKeys()
    {
        settings.sync();
        QSettings raw(iniPath, QSettings::IniFormat);
        raw.beginGroup(u"Lumisong"_s);
        return raw.childKeys();
    }
};

int px(int twips)
{
    return Twips::toPixels(twips, Twips::screenDpi());
}

void clickLabel(QLabel *label, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(label, button, {}, label->rect().center());
}

} // namespace

class tst_frmUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void designedForm();
    void keyboardFollowsTheTabOrder();
    void skinLayout_data();
    void skinLayout();
    void tickingKeepsYesForUnsilenced_data();
    void tickingKeepsYesForUnsilenced();
    void answers_data();
    void answers();
    void answeredOnce();
    void onlyWebAddressesAreOpened();
    void loadCentresOverTheMainWindow_data();
    void loadCentresOverTheMainWindow();
    void loadCopiesTheSkin();
};

void tst_frmUpdate::designedForm()
{
    Harness h;
    frmUpdate &d = *h.dialog;
    QVERIFY(d.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(d.size(), QSize(px(4500), px(3330)));
    QVERIFY(d.txtNew()->isReadOnly());
    // The box is unticked and shows whole from its designed corner, though
    // designed smaller than the style draws it.
    QCOMPARE(d.chkNoMore()->checkState(), Qt::Unchecked);
    QCOMPARE(d.chkNoMore()->pos(), QPoint(px(60), px(3060)));
    QVERIFY(d.chkNoMore()->width() >= d.chkNoMore()->minimumSizeHint().width());
    // Labels are transparent, so that the skin shows through.
    for (QLabel *label : {d.lblTitle(), d.lblUpdate(), d.lblTip(), d.lblNoMore()})
        QVERIFY(!label->autoFillBackground());

    // Tab order: the controls follow each other in the focus chain as designed.
    const QStringList tabOrder{u"lblTitle"_s, u"lblUpdate"_s, u"chkNoMore"_s, u"lblNoMore"_s,
                               u"txtNew"_s,   u"lblTip"_s,    u"btnOk"_s,     u"btnCancel"_s};
    QStringList chain;
    QWidget *w = d.lblTitle();
    do {
        if (tabOrder.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != d.lblTitle());
    QCOMPARE(chain, tabOrder);
}

// Tab and the buttons' own arrow keys walk the controls that take the focus
// in the designed order, starting with the box.
void tst_frmUpdate::keyboardFollowsTheTabOrder()
{
    Harness h;
    frmUpdate &d = *h.dialog;
    QVERIFY(QTest::qWaitForWindowActive(&d));
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents(); // the arrows move the focus once handled
        return QApplication::focusWidget()->objectName();
    };
    QCOMPARE(QApplication::focusWidget(), d.chkNoMore());
    QCOMPARE(press(Qt::Key_Tab), u"txtNew"_s);
    QCOMPARE(press(Qt::Key_Tab), u"btnOk"_s);
    QCOMPARE(press(Qt::Key_Right), u"btnCancel"_s);
    QCOMPARE(press(Qt::Key_Tab), u"chkNoMore"_s);
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), u"btnCancel"_s);
    QCOMPARE(press(Qt::Key_Up), u"btnOk"_s);
    QCOMPARE(h.catalogue->size() + h.programEnd->size(), 0);
}

void tst_frmUpdate::skinLayout_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("designed") << QSize(px(4500), px(3330));
    QTest::newRow("wider and taller") << QSize(420, 300);
    QTest::newRow("no room for the body") << QSize(200, 50);
}

void tst_frmUpdate::skinLayout()
{
    QFETCH(QSize, client);
    Harness h;
    const QRect bodyBefore = h.dialog->skin().imgBody()->geometry();
    h.dialog->setFixedSize(client);
    QTRY_COMPARE(h.dialog->size(), client);

    const SkinFrame &skin = h.dialog->skin();
    const int W = client.width();
    const int H = client.height();
    const int title = px(435);
    const int bottom = px(465);
    QCOMPARE(skin.imgTitle()->geometry(), QRect(0, 0, W, title));
    QCOMPARE(skin.imgBottom()->geometry(), QRect(0, H - bottom, W, bottom));
    // The body stops where the bottom strip begins; a negative height is a
    // step skipped, the rest of the rule still runs.
    const int body = H - title - bottom;
    QCOMPARE(skin.imgBody()->y(), title);
    QCOMPARE(skin.imgBody()->width(), W);
    QCOMPARE(skin.imgBody()->height(), body >= 0 ? body : bodyBefore.height());
}

void tst_frmUpdate::tickingKeepsYesForUnsilenced_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<bool>("ticked");

    QTest::newRow("nothing") << QStringList() << false;
    QTest::newRow("box") << QStringList{u"box"_s} << true;
    QTest::newRow("box twice") << QStringList{u"box"_s, u"box"_s} << false;
    QTest::newRow("label") << QStringList{u"label"_s} << true;
    QTest::newRow("label twice") << QStringList{u"label"_s, u"label"_s} << false;
    QTest::newRow("box, then label") << QStringList{u"box"_s, u"label"_s} << false;
    QTest::newRow("label, then box") << QStringList{u"label"_s, u"box"_s} << false;
    QTest::newRow("space on the box") << QStringList{u"space"_s} << true;
    QTest::newRow("right button on the label") << QStringList{u"label right"_s} << false;
    QTest::newRow("label, right button on it") << QStringList{u"label"_s, u"label right"_s} << true;
}

void tst_frmUpdate::tickingKeepsYesForUnsilenced()
{
    QFETCH(QStringList, actions);
    QFETCH(bool, ticked);
    Harness h;
    frmUpdate &d = *h.dialog;
    for (const QString &action : actions) {
        if (action == u"box") {
            QTest::mouseClick(d.chkNoMore(), Qt::LeftButton, {}, d.chkNoMore()->rect().center());
        } else if (action == u"label") {
            clickLabel(d.lblNoMore());
        } else if (action == u"label right") {
            clickLabel(d.lblNoMore(), Qt::RightButton);
        } else if (action == u"space") {
            d.chkNoMore()->setFocus();
            QTest::keyClick(d.chkNoMore(), Qt::Key_Space);
        }
        // After every step "是(&Y)" is enabled exactly while the box is unticked.
        QCOMPARE(d.btnOk()->isEnabled(), d.chkNoMore()->checkState() == Qt::Unchecked);
    }
    QCOMPARE(d.chkNoMore()->checkState(), ticked ? Qt::Checked : Qt::Unchecked);
    QVERIFY(d.btnCancel()->isEnabled());
    if (ticked) {
        // A disabled "是(&Y)" answers neither the mouse nor its access key.
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::mouseClick(d.btnOk(), Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_Y, Qt::AltModifier);
        QVERIFY(d.isVisible());
        QCOMPARE(h.programEnd->size(), 0);
    }
    QCOMPARE(h.catalogue->size(), 0);
}

void tst_frmUpdate::answers_data()
{
    QTest::addColumn<QString>("answer"); // how the user answers, see answers()
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("stored");   // the value afterwards
    QTest::addColumn<QStringList>("keys"); // as spelled in the file
    QTest::addColumn<bool>("goesOn");      // catalogueWanted, else programEndWanted

    const QStringList earlier{u"VersionNotip"_s};
    const QStringList silenced{u"VersionNoTip"_s};
    QTest::newRow("yes, clicked") << u"click yes"_s << false << u"0.9.0"_s << earlier << false;
    QTest::newRow("yes, Alt+Y") << u"Alt+Y"_s << false << u"0.9.0"_s << earlier << false;
    QTest::newRow("yes, Enter on it")
        << u"Enter on yes"_s << false << u"0.9.0"_s << earlier << false;
    QTest::newRow("no, clicked, unticked, clears")
        << u"click no"_s << false << QString() << earlier << true;
    QTest::newRow("no, clicked, ticked, silences")
        << u"click no"_s << true << u"1.2.0"_s << silenced << true;
    QTest::newRow("no, Alt+N, ticked") << u"Alt+N"_s << true << u"1.2.0"_s << silenced << true;
    QTest::newRow("no, Space on it, unticked")
        << u"Space on no"_s << false << QString() << earlier << true;
    QTest::newRow("escape, unticked") << u"escape"_s << false << QString() << earlier << true;
    QTest::newRow("escape, ticked") << u"escape"_s << true << u"1.2.0"_s << silenced << true;
    QTest::newRow("closed, unticked") << u"close"_s << false << QString() << earlier << true;
    QTest::newRow("closed, ticked") << u"close"_s << true << u"1.2.0"_s << silenced << true;
}

void tst_frmUpdate::answers()
{
    QFETCH(QString, answer);
    QFETCH(bool, tick);
    QFETCH(QString, stored);
    QFETCH(QStringList, keys);
    QFETCH(bool, goesOn);

    Harness h;
    // A version silenced in an earlier run.
    h.settings.setValue(u"Lumisong"_s, u"VersionNotip"_s, u"0.9.0"_s);
    frmUpdate &d = *h.dialog;
    QVERIFY(QTest::qWaitForWindowActive(&d));
    if (tick)
        clickLabel(d.lblNoMore());
    QSignalSpy finished(&d, &QDialog::finished);
    // A key on the focused button, which the user has tabbed to.
    const auto keyOn = [](zephbutton *button, Qt::Key key) {
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), key);
    };

    if (answer == u"click yes")
        QTest::mouseClick(d.btnOk(), Qt::LeftButton);
    else if (answer == u"Alt+Y")
        QTest::keyClick(&d, Qt::Key_Y, Qt::AltModifier);
    else if (answer == u"Enter on yes")
        keyOn(d.btnOk(), Qt::Key_Return);
    else if (answer == u"click no")
        QTest::mouseClick(d.btnCancel(), Qt::LeftButton);
    else if (answer == u"Alt+N")
        QTest::keyClick(&d, Qt::Key_N, Qt::AltModifier);
    else if (answer == u"Space on no")
        keyOn(d.btnCancel(), Qt::Key_Space);
    else if (answer == u"escape")
        QTest::keyClick(&d, Qt::Key_Escape);
    else
        d.close();

    QCOMPARE(finished.size(), 1);
    QVERIFY(!d.isVisible());
    QCOMPARE(ReminderSetting::read(h.settings), stored);
    QCOMPARE(h.storedKeys(), keys);
    QCOMPARE(h.catalogue->size(), goesOn ? 1 : 0);
    QCOMPARE(h.programEnd->size(), goesOn ? 0 : 1);
    QCOMPARE(h.opener.opened(), goesOn ? QList<QUrl>() : QList<QUrl>{QUrl(VersionUrl)});
}

// However the dialog is answered and closed after that, it answers once.
void tst_frmUpdate::answeredOnce()
{
    Harness h;
    QTest::mouseClick(h.dialog->btnCancel(), Qt::LeftButton);
    h.dialog->btnCancel_Click();
    h.dialog->btnOk_Click();
    h.dialog->close();
    QCOMPARE(h.catalogue->size(), 1);
    QCOMPARE(h.programEnd->size(), 0);
    QVERIFY(h.opener.opened().isEmpty());
}

void tst_frmUpdate::onlyWebAddressesAreOpened()
{
    Harness h(u"file:///etc/passwd"_s);
    QTest::mouseClick(h.dialog->btnOk(), Qt::LeftButton);
    QVERIFY(h.opener.opened().isEmpty());
    // The program ends all the same: the shell's answer is not looked at.
    QCOMPARE(h.programEnd->size(), 1);
}

void tst_frmUpdate::loadCentresOverTheMainWindow_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QPoint>("expected");
    // (main width - 300) / 2 and (main height - 222) / 2 in floating point,
    // rounded half away from zero; the dialog's title strip stays on the screen.
    QTest::newRow("designed main window") << QRect(100, 50, 845, 549) << QPoint(373, 214);
    QTest::newRow("partly off screen: held at the screen's corner")
        << QRect(-500, -300, 845, 549) << QPoint(0, 0);
    QTest::newRow("even sizes") << QRect(0, 0, 600, 400) << QPoint(150, 89);
    QTest::newRow("smaller than the dialog") << QRect(200, 200, 100, 100) << QPoint(100, 139);
}

void tst_frmUpdate::loadCentresOverTheMainWindow()
{
    QFETCH(QRect, main);
    QFETCH(QPoint, expected);
    QWidget mainForm;
    mainForm.setFixedSize(main.size());
    mainForm.move(main.topLeft());
    Harness h;
    h.dialog->hide();
    h.dialog->Form_Load(&mainForm);
    QCOMPARE(h.dialog->pos(), expected);
}

void tst_frmUpdate::loadCopiesTheSkin()
{
    frmMain main(frmMain::Environment{});
    Harness h;
    for (const char *name : {"imgIcon", "imgTitle", "imgBody", "imgBottom"}) {
        const auto *image = h.dialog->findChild<ImageBox *>(QString::fromLatin1(name));
        QVERIFY(image->picture().isNull());
    }
    h.dialog->Form_Load(&main);
    for (const char *name : {"imgIcon", "imgTitle", "imgBody", "imgBottom"}) {
        const auto *from = main.findChild<ImageBox *>(QString::fromLatin1(name));
        const auto *to = h.dialog->findChild<ImageBox *>(QString::fromLatin1(name));
        QVERIFY(!from->picture().isNull());
        QCOMPARE(to->picture(), from->picture());
    }
    QCOMPARE(h.dialog->windowIcon().cacheKey(), main.windowIcon().cacheKey());
}

QTEST_MAIN(tst_frmUpdate)
#include "tst_frmupdate.moc"
