#include "app/frmmain.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "common/applog.h"
#include "common/defaults.h"
#include "forms/formdesign.h"
#include "forms/formloader.h"
#include "forms/listitemsmodel.h"
#include "app/listfilecommand.h"
#include "forms/listview.h"
#include "app/programicon.h"
#include "app/songdownloadcommand.h"
#include "common/statustexts.h"
#include "app/updateprompt.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogueload.h"
#include "menu/addresscopy.h"
#include "menu/frmmenu.h"
#include "net/fetchlimits.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/ui/designedcontrol.h"
#include "platform/ui/accessiblefactory.h"
#include "platform/ui/desktopshellopener.h"
#include "platform/ui/filesavedialog.h"
#include "platform/ui/imagebox.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/systemclipboard.h"
#include "platform/ui/titledrag.h"
#include "platform/ui/windowaccessible.h"
#include "update/checkforupdate.h"
#include "update/updatecheck.h"
#include "update/remindersetting.h"

namespace Lumisong {

frmMain::frmMain(const Environment &environment, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_env(environment),
      m_catalogue(environment.catalogue)
{
    if (!m_catalogue) {
        m_ownCatalogue = std::make_unique<Catalogue>(environment.siteBase);
        m_catalogue = m_ownCatalogue.get();
    }
    QString error;
    // The form file is built into the program; a broken one is a build fault.
    if (!FormLoader::buildFile(this, m_env.formFile, &error))
        qFatal("frmMain: %s", qUtf8Printable(error));
    setWindowIcon(programIcon());
    installAccessibleInterface<WindowAccessible, frmMain>();

    m_lstXg = designed<ListView>(QStringLiteral("lstXg"));
    m_lblInfo = designed<QLabel>(QStringLiteral("lblInfo"));
    m_timer1 = designed<QTimer>(QStringLiteral("Timer1"));
    m_timer2 = designed<QTimer>(QStringLiteral("Timer2"));
    connect(m_timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(m_timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    createSongCommands();
    createFrame();
    m_updatePrompt =
        std::make_unique<UpdatePrompt>(*this, m_env.settings, *m_env.shellOpener, m_env.updateUrl);
}

// Requests and runs of the window are its children: closing it ends them
// (Form_Unload), so no continuation of theirs runs afterwards.

void frmMain::createFrame()
{
    m_skin = SkinFrame(designed<ImageBox>(QStringLiteral("imgTitle")),
                       designed<ImageBox>(QStringLiteral("imgBody")),
                       designed<ImageBox>(QStringLiteral("imgBottom")),
                       SkinFrame::Body::ReachesBottomEdge);
    m_imgIcon = designed<ImageBox>(QStringLiteral("imgIcon"));
    m_lblTitle = designed<QLabel>(QStringLiteral("lblTitle"));
    m_btMin = designed<zephbutton>(QStringLiteral("btMin"));
    m_btClose = designed<zephbutton>(QStringLiteral("btClose"));
    auto *drag = new TitleDrag(this, m_skin.imgTitle(), TitleDrag::platformMover());
    drag->addElement(m_lblTitle);
    connect(m_btMin, &zephbutton::Click, this, &frmMain::btMin_Click);
    connect(m_btClose, &zephbutton::Click, this, &frmMain::btClose_Click);
    // The frame buttons are the window's own title buttons: like a system
    // caption's, they take the focus neither by click nor by Tab, so the keys
    // stay with the list (Space ticks a row, it never minimises the window).
    for (zephbutton *button : {m_btMin, m_btClose})
        button->setFocusPolicy(Qt::NoFocus);
    Form_Resize();
}

void frmMain::createSongCommands()
{
    if (!m_env.clipboard) {
        m_ownClipboard = std::make_unique<SystemClipboard>();
        m_env.clipboard = m_ownClipboard.get();
    }
    if (!m_env.saveDialog) {
        m_ownSaveDialog = std::make_unique<FileSaveDialog>();
        m_env.saveDialog = m_ownSaveDialog.get();
    }
    if (!m_env.shellOpener) {
        m_ownShellOpener = std::make_unique<DesktopShellOpener>();
        m_env.shellOpener = m_ownShellOpener.get();
    }

    m_btnCreate = designed<zephbutton>(QStringLiteral("btnCreate"));
    m_btnSelectAll = designed<zephbutton>(QStringLiteral("btnSelectAll"));
    m_btnSelectNone = designed<zephbutton>(QStringLiteral("btnSelectNone"));
    m_btnSelectInvert = designed<zephbutton>(QStringLiteral("btnSelectInvert"));
    m_btnDownload = designed<zephbutton>(QStringLiteral("btnDownload"));
    m_process = designed<ProgressBar>(QStringLiteral("process"));
    m_process->setVisible(false);

    connect(m_lstXg, &ListView::mouseDown, this, &frmMain::lstXg_MouseDown);
    connect(m_lstXg, &ListView::mouseUp, this, &frmMain::lstXg_MouseUp);
    connect(m_lstXg, &ListView::dblClick, this, &frmMain::lstXg_DblClick);
    connect(m_lstXg, &ListView::menuKey, this, &frmMain::lstXg_MenuKey);
    connect(m_btnCreate, &zephbutton::Click, this, &frmMain::btnCreate_Click);
    connect(m_btnSelectAll, &zephbutton::Click, this, &frmMain::btnSelectAll_Click);
    connect(m_btnSelectNone, &zephbutton::Click, this, &frmMain::btnSelectNone_Click);
    connect(m_btnSelectInvert, &zephbutton::Click, this, &frmMain::btnSelectInvert_Click);
    connect(m_btnDownload, &zephbutton::Click, this, &frmMain::btnDownload_Click);
    setTabOrder(m_lstXg, m_btnCreate);
    setTabOrder(m_btnCreate, m_btnSelectAll);
    setTabOrder(m_btnSelectAll, m_btnSelectNone);
    setTabOrder(m_btnSelectNone, m_btnSelectInvert);
    setTabOrder(m_btnSelectInvert, m_btnDownload);
    // The list comes first in the tab order and has the keys when the window opens.
    m_lstXg->setFocus(Qt::OtherFocusReason);

    m_addressCopy = new AddressCopy(*m_catalogue, *m_env.clipboard, this);
    connect(m_addressCopy, &AddressCopy::failed, this,
            [this] { setInfo(AddressCopy::failureText()); });
    m_listFile = new ListFileCommand({this, m_btnCreate, m_process, m_lstXg->items(),
                                      m_catalogue, m_env.saveDialog, m_env.messageBox,
                                      [this](const QString &text) { setInfo(text); },
                                      m_env.settings,
                                      {m_env.parallelRequests, fetchLimits().streamsPerConnection}},
                                     this);
    m_frmMenu = new frmMenu(*m_catalogue, [this] { return m_currentSong; }, *m_env.clipboard,
                            *m_env.shellOpener, this);
    connect(m_frmMenu, &frmMenu::statusTextChanged, this, &frmMain::setInfo);
    connect(m_frmMenu, &frmMenu::browserNotOpened, this, [this](const QString &address) {
        m_env.messageBox->show(this, QStringLiteral("无法打开浏览器：") + address,
                               Defaults::ProgramTitle.toString(), MessageBox::Icon::Warning,
                               MessageBox::Buttons::Ok);
    });
}

frmMain::~frmMain() = default;

template<typename T> T *frmMain::designed(const QString &name) const
{
    return designedControl<T>(this, name);
}

bool frmMain::Form_Load()
{
    if (m_env.instance && !m_env.instance->tryLock()) {
        if (m_env.instance->heldElsewhere()) {
            m_env.messageBox->show(this, QStringLiteral("程序已经在运行中，请勿重复运行！"),
                                   Defaults::ProgramTitle.toString(),
                                   MessageBox::Icon::Information, MessageBox::Buttons::Ok);
            return false;
        }
        // A lock file that cannot be made at all proves nothing about another
        // run and must not keep the program from starting.
        qCWarning(lcApp) << "cannot take the instance lock" << m_env.instance->lockFilePath();
    }
    m_currentVersion =
        versionText(LUMISONG_VERSION_MAJOR, LUMISONG_VERSION_MINOR, LUMISONG_VERSION_PATCH);
    if (m_env.settings)
        m_skippedVersion = ReminderSetting::read(*m_env.settings);
    setInfo(StatusText::checkingForUpdate());
    m_timer1->start();
    return true;
}

void frmMain::Timer1_Timer()
{
    m_timer1->stop();
    m_updateCheck = new UpdateCheck({m_env.updateUrl, m_currentVersion, m_skippedVersion}, this);
    connect(m_updateCheck, &UpdateCheck::finished, this, &frmMain::Timer1_Checked);
    m_updateCheck->start();
}

void frmMain::Timer1_Checked(const VersionPageReading &reading)
{
    if (reading.result != UpdateCheckResult::UpdateNeeded) {
        setInfo(StatusText::fetchingCatalogue());
        m_timer2->start();
        return;
    }
    // "否(&N)" goes on to the catalogue (continueStartUp), "是(&Y)" ends the
    // program (endProgram); both before the dialog returns.
    setInfo(ShowingUpdateText.toString());
    m_updatePrompt->showUpdate(reading.notice);
}

void frmMain::Timer2_Timer()
{
    m_timer2->stop();
    m_catalogueLoad = new CatalogueLoad(*m_catalogue, this);
    connect(m_catalogueLoad, &CatalogueLoad::finished, this, &frmMain::Timer2_Loaded);
    m_catalogueLoad->start();
}

void frmMain::Timer2_Loaded(const Catalogue::LoadResult &result)
{
    if (!result.arrived) {
        setInfo(StatusText::catalogueMissing());
        return;
    }
    showCatalogueRows();
    setInfo(StatusText::catalogueLoaded(result.count, result.truncated));
}

void frmMain::showCatalogueRows()
{
    const int count = m_catalogue->songCount();
    QList<QStringList> rows;
    rows.reserve(count);
    for (int slot = 0; slot < count; ++slot) {
        const SongRecord &s = m_catalogue->song(slot);
        rows.append({QString::number(slot + 1), s.releaseDate, s.title, s.singer, s.album,
                     s.dailyDownloads, s.totalDownloads});
    }
    m_lstXg->items()->appendRows(std::move(rows));
}

void frmMain::setInfo(const QString &text)
{
    m_lblInfo->setText(text);
    m_lblInfo->adjustSize();
    emit infoChanged(text);
}

void frmMain::lstXg_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &pos)
{
    if (m_lstXg->rowAt(pos) < 0)
        m_lstXg->clearRowSelection();
}

void frmMain::lstXg_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &pos)
{
    const int selected = m_lstXg->selectedRow();
    if (m_lstXg->items()->rowCount() > 0 && selected >= 0)
        m_currentSong = selected;
    if (m_lstXg->rowAt(pos) < 0) {
        m_lstXg->clearRowSelection();
        return;
    }
    if (button == Qt::RightButton)
        m_frmMenu->popupAt(m_lstXg->viewport()->mapToGlobal(pos));
}

void frmMain::lstXg_MenuKey()
{
    const int row = m_lstXg->keyboardRow();
    if (row < 0)
        return;
    m_lstXg->selectRow(row);
    m_currentSong = row;
    m_frmMenu->popupAt(m_lstXg->menuAnchor(row));
}

void frmMain::lstXg_DblClick(const QPoint &pos)
{
    if (m_lstXg->rowAt(pos) < 0) {
        m_lstXg->clearRowSelection();
        return;
    }
    m_addressCopy->copy(m_currentSong);
}

void frmMain::btnSelectAll_Click()
{
    m_lstXg->items()->setAllChecked(true);
}

void frmMain::btnSelectNone_Click()
{
    m_lstXg->items()->setAllChecked(false);
}

void frmMain::btnSelectInvert_Click()
{
    m_lstXg->items()->invertChecks();
}

void frmMain::btnCreate_Click()
{
    m_listFile->run();
}

void frmMain::btnDownload_Click()
{
    if (!m_songDownload)
        m_songDownload = new SongDownloadCommand(
            {this, m_btnDownload, m_process, m_lstXg->items(), m_catalogue, m_env.saveDialog,
             m_env.messageBox,
             [this](const QString &text) { setInfo(text); },
             m_env.settings, {m_env.parallelRequests, fetchLimits().streamsPerConnection}},
            this);
    m_songDownload->start();
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_songDownload && m_songDownload->isRunning()) {
        m_songDownload->askToStop();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMain::continueStartUp()
{
    setInfo(StatusText::fetchingCatalogueAfterUpdate());
    m_timer2->start();
}

void frmMain::endProgram()
{
    Form_Unload();
}

void frmMain::Form_Unload()
{
    m_timer1->stop();
    m_timer2->stop();
    // Each ends without a word; none is deleted here, as the one calling
    // may be among them (the update dialog's "是(&Y)").
    if (m_updateCheck)
        m_updateCheck->abort();
    if (m_catalogueLoad)
        m_catalogueLoad->abort();
    m_addressCopy->abort();
    m_frmMenu->abortPending();
    m_listFile->abort();
    if (m_songDownload)
        m_songDownload->abort();
    emit unloaded();
}

void frmMain::Form_Resize()
{
    if (!m_lstXg)
        return; // still being built
    m_skin.layOut(size());
    // The list between the strips. Its left and top stay as designed; it
    // leaves the same margin on the right as on the left, so that its border
    // shows on both sides.
    const int width = this->width() - 2 * m_lstXg->x();
    if (width >= 0)
        m_lstXg->resize(width, m_lstXg->height());
    const int height = m_skin.imgBody()->height() - m_skin.imgBottom()->height();
    if (height >= 0)
        m_lstXg->resize(m_lstXg->width(), height);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Minimising and restoring lay the window out again.
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::btMin_Click()
{
    showMinimized();
}

void frmMain::btClose_Click()
{
    // Ends the program, also in the middle of a fetch.
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_songDownload && !m_songDownload->askToStop()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace Lumisong
