#pragma once

#include <QString>
#include <QWidget>

#include <memory>

#include "controls/button/zephbutton.h"
#include "catalogue/catalogue.h"
#include "controls/progressbar/progressbar.h"
#include "platform/ui/skinframe.h"

class QLabel;
class QTimer;

namespace Lumisong {

class AddressCopy;
class CatalogueLoad;
class Clipboard;
class ListFileCommand;
class frmMenu;
class ImageBox;
class ListView;
class MessageBox;
class SaveDialog;
class ShellOpener;
class SettingsStore;
class SingleInstance;
class SongDownloadCommand;
class UpdateCheck;
class UpdatePrompt;
struct VersionPageReading;

// The main window. It lives for the whole run and ends the program when it
// closes. Its load event refuses a second instance and starts the two-timer
// chain: Timer1 runs the version check, Timer2 loads the catalogue into lstXg;
// lblInfo tells which step the chain has reached and how it ended. The window
// is borderless: it draws its own skinned frame, is dragged by its title and
// has its own minimise and close buttons.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // What the window uses from outside; the pointers must outlive it.
    struct Environment
    {
        MessageBox *messageBox = nullptr;
        SettingsStore *settings = nullptr;
        SingleInstance *instance = nullptr;
        QString siteBase;  // "scheme://host[:port]" of the new-songs site
        QString updateUrl; // page that announces the newest version
        QString formFile = QStringLiteral(":/forms/frmmain.json");
        // Left null, the desktop's own clipboard, save dialog and browser are used.
        Clipboard *clipboard = nullptr;
        SaveDialog *saveDialog = nullptr;
        ShellOpener *shellOpener = nullptr;
        // Addresses the list-file run asks for at a time; as many as the
        // HTTP layer keeps connections to one site.
        int parallelRequests = 4;
        // The song catalogue the window loads and shows; must outlive the
        // window. Left null, the window keeps its own over siteBase.
        Catalogue *catalogue = nullptr;
    };

    explicit frmMain(const Environment &environment, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs once before the window is first shown. False when another instance
    // runs: the user has been told, and the caller ends this run without
    // showing the window.
    bool Form_Load();
    // The update dialog was answered with "否(&N)": the catalogue follows.
    void continueStartUp();
    // The update dialog was answered with "是(&Y)": the program ends at once,
    // nothing more is fetched.
    void endProgram();

signals:
    // The status line shows `text` now.
    void infoChanged(const QString &text);
    void unloaded();

protected:
    // Escape or closing during a song download asks whether to stop it first.
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The window is closing: its pending requests and runs end at once,
    // none goes on later; unloaded() then asks the application to quit.
    void Form_Unload();
    // Each starts its step; the chain goes on when the step's answer comes,
    // while the window stays usable.
    void Timer1_Timer();
    void Timer2_Timer();
    // The layout rule of the skinned frame, run whenever the size or the
    // window state changes: the strips and the body across the client area,
    // then the song list between the title strip and the bottom strip.
    void Form_Resize();
    // Sets the status line, which sizes itself to the text.
    void setInfo(const QString &text);

    // The song list: a press on no row clears the selection; a release takes
    // currentSong (the 0-based slot of the song the double-click and the
    // context menu act on) from the selected row and, for the right button
    // over a row, pops up the context menu; a double-click on a row copies its
    // address.
    void lstXg_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void lstXg_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void lstXg_DblClick(const QPoint &pos);
    // The menu key or Shift+F10 in the list: the context menu of the row the
    // keyboard is on, opened at that row, as a right click on it would; on
    // an empty list nothing opens.
    void lstXg_MenuKey();
    void btnSelectAll_Click();
    void btnSelectNone_Click();
    void btnSelectInvert_Click();
    void btnCreate_Click();
    // "下载歌曲": the ticked songs' files into a folder, while the window stays usable.
    void btnDownload_Click();
    void btMin_Click();
    void btClose_Click();

    template<typename T> T *designed(const QString &name) const;
    void Timer1_Checked(const VersionPageReading &reading);
    void Timer2_Loaded(const Catalogue::LoadResult &result);
    void createFrame();
    void createSongCommands();
    void showCatalogueRows();

    Environment m_env;
    std::unique_ptr<Catalogue> m_ownCatalogue;
    Catalogue *m_catalogue;
    ListView *m_lstXg = nullptr;
    QLabel *m_lblInfo = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    QString m_currentVersion;
    QString m_skippedVersion;
    zephbutton *m_btnCreate = nullptr;
    zephbutton *m_btnSelectAll = nullptr;
    zephbutton *m_btnSelectNone = nullptr;
    zephbutton *m_btnSelectInvert = nullptr;
    zephbutton *m_btnDownload = nullptr;
    SongDownloadCommand *m_songDownload = nullptr;
    ProgressBar *m_process = nullptr;
    std::unique_ptr<Clipboard> m_ownClipboard;
    std::unique_ptr<SaveDialog> m_ownSaveDialog;
    std::unique_ptr<ShellOpener> m_ownShellOpener;
    frmMenu *m_frmMenu = nullptr;
    SkinFrame m_skin;
    ImageBox *m_imgIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    zephbutton *m_btMin = nullptr;
    zephbutton *m_btClose = nullptr;
    std::unique_ptr<UpdatePrompt> m_updatePrompt;
    UpdateCheck *m_updateCheck = nullptr;
    CatalogueLoad *m_catalogueLoad = nullptr;
    AddressCopy *m_addressCopy = nullptr;
    ListFileCommand *m_listFile = nullptr;
    int m_currentSong = 0;
};

} // namespace Lumisong
