#include "menu/frmmenu.h"

#include <QAction>
#include <QMenu>

#include "catalogue/catalogue.h"
#include "menu/addresscopy.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/shellopener.h"

namespace Lumisong {

frmMenu::frmMenu(Catalogue &catalogue, SongQuery currentSong, Clipboard &clipboard,
                 ShellOpener &shellOpener, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_catalogue(catalogue)
    , m_currentSong(std::move(currentSong))
    , m_clipboard(clipboard)
    , m_shellOpener(shellOpener)
    , m_mnuRight(new QMenu(QStringLiteral("右键"), this))
    , m_addressCopy(new AddressCopy(catalogue, clipboard, this))
{
    connect(m_addressCopy, &AddressCopy::failed, this,
            [this] { emit statusTextChanged(AddressCopy::failureText()); });
    setObjectName(QStringLiteral("frmMenu"));
    setAttribute(Qt::WA_DontShowOnScreen); // holds menus only; never shown
    m_mnuRight->setObjectName(QStringLiteral("mnuRight"));

    QMenu *mnuCopy = m_mnuRight->addMenu(QStringLiteral("复制(&C)"));
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    mnuCopy->menuAction()->setObjectName(QStringLiteral("mnuCopy"));
    addCommand(mnuCopy, "mnuCopyTitle", QStringLiteral("歌曲名(&T)"), &frmMenu::mnuCopyTitle_Click);
    addCommand(mnuCopy, "mnuCopySinger", QStringLiteral("歌手名(&S)"), &frmMenu::mnuCopySinger_Click);
    addCommand(mnuCopy, "mnuCopyAlbum", QStringLiteral("专辑名(&A)"), &frmMenu::mnuCopyAlbum_Click);
    mnuCopy->addSeparator()->setObjectName(QStringLiteral("mnuCopyFg"));
    addCommand(mnuCopy, "mnuCopyURL", QStringLiteral("下载地址(&U)"), &frmMenu::mnuCopyURL_Click);

    QMenu *mnuSearch = m_mnuRight->addMenu(QStringLiteral("搜索(&S)"));
    mnuSearch->setObjectName(QStringLiteral("mnuSearch"));
    mnuSearch->menuAction()->setObjectName(QStringLiteral("mnuSearch"));
    addCommand(mnuSearch, "mnuSearchGoogle", QStringLiteral("在Google中搜索"),
               &frmMenu::mnuSearchGoogle_Click);
    addCommand(mnuSearch, "mnuSearchBaidu", QStringLiteral("在百度中搜索(&B)"),
               &frmMenu::mnuSearchBaidu_Click);
    addCommand(mnuSearch, "mnuSearchBaiduMP3", QStringLiteral("在百度MP3中搜索(&M)"),
               &frmMenu::mnuSearchBaiduMP3_Click);
}

QAction *frmMenu::addCommand(QMenu *menu, const char *name, const QString &caption,
                             void (frmMenu::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QMenu *frmMenu::mnuRight() const
{
    return m_mnuRight;
}

QAction *frmMenu::action(const QString &name) const
{
    const QList<QAction *> actions = findChildren<QAction *>(name);
    return actions.isEmpty() ? nullptr : actions.constFirst();
}

void frmMenu::popupAt(const QPoint &globalPos)
{
    m_mnuRight->exec(globalPos);
}

int frmMenu::validSong() const
{
    const int slot = m_currentSong ? m_currentSong() : -1;
    return slot >= 0 && slot < m_catalogue.songCount() ? slot : -1;
}

void frmMenu::copyText(const QString &text)
{
    m_clipboard.clear();
    if (!text.isEmpty())
        m_clipboard.setText(text);
}

void frmMenu::mnuCopyTitle_Click()
{
    if (const int slot = validSong(); slot >= 0)
        copyText(m_catalogue.song(slot).title);
}

void frmMenu::mnuCopySinger_Click()
{
    if (const int slot = validSong(); slot >= 0)
        copyText(m_catalogue.song(slot).singer);
}

void frmMenu::mnuCopyAlbum_Click()
{
    if (const int slot = validSong(); slot >= 0)
        copyText(m_catalogue.song(slot).album);
}

void frmMenu::mnuCopyURL_Click()
{
    if (const int slot = validSong(); slot >= 0)
        m_addressCopy->copy(slot);
}

void frmMenu::abortPending()
{
    m_addressCopy->abort();
}

void frmMenu::search(SearchAddress::Site site)
{
    const int slot = validSong();
    if (slot < 0)
        return;
    const SongRecord &song = m_catalogue.song(slot);
    const QUrl address = SearchAddress::forSong(site, song.title, song.singer);
    if (!m_shellOpener.open(address))
        emit browserNotOpened(address.toString(QUrl::FullyEncoded));
}

void frmMenu::mnuSearchGoogle_Click()
{
    search(SearchAddress::Site::Google);
}

void frmMenu::mnuSearchBaidu_Click()
{
    search(SearchAddress::Site::Baidu);
}

void frmMenu::mnuSearchBaiduMP3_Click()
{
    search(SearchAddress::Site::BaiduMp3);
}

} // namespace Lumisong
