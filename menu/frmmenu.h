#pragma once

#include <QWidget>

#include <functional>

#include "menu/searchaddress.h"

class QAction;
class QMenu;

namespace Lumisong {

class AddressCopy;
class Catalogue;
class Clipboard;
class ShellOpener;

// The hidden form that holds the song context menu. It is never shown
// itself; its root menu mnuRight pops up over the song list. Every command
// acts on the song the current-song query names when the command runs.
//
//   mnuRight "右键"
//     mnuCopy "复制(&C)": mnuCopyTitle, mnuCopySinger, mnuCopyAlbum, -, mnuCopyURL
//     mnuSearch "搜索(&S)": mnuSearchGoogle, mnuSearchBaidu, mnuSearchBaiduMP3
//
// Menus and actions carry their design names as object names.
class frmMenu final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMenu)

public:
    using SongQuery = std::function<int()>; // 0-based slot of the current song

    frmMenu(Catalogue &catalogue, SongQuery currentSong, Clipboard &clipboard,
            ShellOpener &shellOpener, QWidget *parent = nullptr);

    QMenu *mnuRight() const;
    QAction *action(const QString &name) const; // nullptr for an unknown name

    // Shows mnuRight at a global position and returns once it has closed and
    // the chosen command has run (a copy that needs the address asks for it
    // and copies when it comes).
    void popupAt(const QPoint &globalPos);

    void mnuCopyTitle_Click();
    void mnuCopySinger_Click();
    void mnuCopyAlbum_Click();
    void mnuCopyURL_Click();
    void mnuSearchGoogle_Click();
    void mnuSearchBaidu_Click();
    void mnuSearchBaiduMP3_Click();

    // Drops an address copy that waits for its answer: nothing is copied or
    // told later (the window is closing).
    void abortPending();

signals:
    // A command failed in a way the user should know of; the text is for the status line.
    void statusTextChanged(const QString &text);
    // A search could not be handed to the browser (none installed, or it
    // refused); the address is as it would have been sent.
    void browserNotOpened(const QString &address);

private:
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption,
                        void (frmMenu::*handler)());
    void copyText(const QString &text);
    int validSong() const; // the current song, or -1 when it names no loaded song
    void search(SearchAddress::Site site);

    Catalogue &m_catalogue;
    SongQuery m_currentSong;
    Clipboard &m_clipboard;
    ShellOpener &m_shellOpener;
    QMenu *m_mnuRight;
    AddressCopy *m_addressCopy;
};

} // namespace Lumisong
