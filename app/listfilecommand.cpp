#include "app/listfilecommand.h"

#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

#include <iterator>
#include <utility>

#include "common/defaults.h"
#include "app/listfoldersetting.h"
#include "forms/listitemsmodel.h"
#include "common/statustexts.h"
#include "catalogue/catalogue.h"
#include "catalogue/listfilerun.h"
#include "controls/progressbar/progressbar.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/savedialog.h"

namespace Lumisong {

namespace {

// The save dialog's file types and the kind of list each one writes: the
// list file's own types first, then those of download managers and players.
struct FileType
{
    const char16_t *filter; // "description|pattern"
    ListFormat format;
};
const FileType FileTypes[] = {
    {u"列表文件(*.lst)|*.lst", ListFormat::Lst},
    {u"文本文件(*.txt)|*.txt", ListFormat::Lst},
    {u"所有文件(*.*)|*.*", ListFormat::Lst},
    {u"下载地址 wget/curl(*.txt)|*.txt", ListFormat::Urls},
    {u"aria2 下载列表(*.txt)|*.txt", ListFormat::Aria2},
    {u"播放列表 M3U8(*.m3u8)|*.m3u8", ListFormat::M3u8},
    {u"歌曲列表 JSON(*.json)|*.json", ListFormat::Json},
};

// Asks for the target until the user settles on one; an empty path = cancelled.
SaveDialogAnswer chooseTarget(const ListFileCommand::Parts &parts)
{
    const SaveDialogRequest request{
        Defaults::ProgramTitle.toString(),
        QStringLiteral("百度新歌下载列表"),
        QStringLiteral("lst"),
        ListFileCommand::dialogFilter(),
        ListFolderSetting::startFolder(parts.settings),
    };
    for (;;) {
        const SaveDialogAnswer answer = parts.saveDialog->askSaveFileName(parts.window, request);
        if (answer.path.isEmpty() || !QFileInfo::exists(answer.path))
            return answer;
        switch (parts.messageBox->show(parts.window, QStringLiteral("文件已经存在，是否覆盖？"),
                                       QStringLiteral("覆盖"), MessageBox::Icon::Question,
                                       MessageBox::Buttons::YesNoCancel)) {
        case MessageBox::Answer::Yes:
            return answer;
        case MessageBox::Answer::No:
            continue; // the dialog opens again with the preset name
        case MessageBox::Answer::Cancel:
        case MessageBox::Answer::Ok:
            return {};
        }
    }
}

} // namespace

QString ListFileCommand::dialogFilter()
{
    QStringList entries;
    for (const FileType &type : FileTypes)
        entries << QString::fromUtf16(type.filter);
    return entries.join(u'|');
}

ListFormat ListFileCommand::formatOfType(int type)
{
    return type >= 0 && type < int(std::size(FileTypes)) ? FileTypes[type].format : ListFormat::Lst;
}

QString ListFileCommand::progressText(int finished, int max)
{
    return QStringLiteral("正在处理第 ") + QString::number(finished) + u'/' + QString::number(max)
           + QStringLiteral(" 个选中的项目...");
}

ListFileCommand::ListFileCommand(Parts parts, QObject *parent)
    : QObject(parent), m_parts(std::move(parts))
{
}

ListFileCommand::~ListFileCommand() = default;

void ListFileCommand::run()
{
    if (m_run || m_closed)
        return;
    // Disabling the focused button moves the focus on to the next control;
    // unless the user has moved it since, it comes back with the button.
    // (The window's focus widget, which stays while a dialog is up.)
    QWidget *button = m_parts.btnCreate;
    m_hadFocus = button->window()->focusWidget() == button;
    button->setEnabled(false);
    m_focusMovedTo = m_hadFocus ? button->window()->focusWidget() : nullptr;

    const SaveDialogAnswer target = chooseTarget(m_parts);
    if (m_closed)
        return; // the window closed while a dialog was up
    if (target.path.isEmpty()) {
        enableButton();
        return;
    }
    ListItemsModel *items = m_parts.items;
    m_run = new ListFileRun(
        *m_parts.catalogue,
        [items](int slot) { return slot < items->rowCount() && items->isChecked(slot); },
        m_parts.parallelism, this);
    m_run->setFormat(formatOfType(target.type));
    m_path = target.path;
    m_stopped = false;
    ProgressBar *process = m_parts.process;
    process->setVisible(true);
    process->setMax(m_run->countTicked());
    connect(m_run, &ListFileRun::progress, this, [process](int finished) {
        process->setValue(finished);
        // The count shown is the bar's own maximum, read back (it may have raised it).
        process->setText(progressText(finished, process->max()));
    });
    connect(m_run, &ListFileRun::finished, this, &ListFileCommand::onFinished);
    stopOnEscape();
    m_run->start(m_path);
}

// Esc in the window during the run asks whether to stop it; the run waits
// meanwhile, so that "是" stops it before anything is written.
void ListFileCommand::stopOnEscape()
{
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_parts.window);
    connect(m_escape, &QShortcut::activated, this, [this] {
        if (!m_run)
            return;
        m_run->setHeld(true);
        const MessageBox::Answer answer =
            m_parts.messageBox->show(m_parts.window, QStringLiteral("是否停止生成列表？"),
                                     Defaults::ProgramTitle.toString(), MessageBox::Icon::Question,
                                     MessageBox::Buttons::YesNo);
        if (!m_run)
            return; // ended while the question was up
        if (answer == MessageBox::Answer::Yes) {
            m_stopped = true;
            m_run->abort(); // finished() comes from inside
        } else {
            m_run->setHeld(false);
        }
    });
}

void ListFileCommand::abort()
{
    m_closed = true;
    if (!m_run)
        return;
    m_run->disconnect(this);
    m_run->abort();
    endRun();
}

// The run and its shortcut may be the ones calling: they go from the event loop.
void ListFileCommand::endRun()
{
    std::exchange(m_run, nullptr)->deleteLater();
    std::exchange(m_escape, nullptr)->deleteLater();
}

void ListFileCommand::onFinished(ListFileRun::Outcome outcome)
{
    endRun();
    ProgressBar *process = m_parts.process;
    if (m_stopped) {
        process->setVisible(false);
        m_parts.setInfo(StatusText::listStopped());
        enableButton();
        return;
    }
    switch (outcome) {
    case ListFileRun::Outcome::Written:
        ListFolderSetting::remember(m_parts.settings, m_path);
        process->setVisible(false);
        m_parts.messageBox->show(m_parts.window, QStringLiteral("列表成功生成！"),
                                 Defaults::ProgramTitle.toString(), MessageBox::Icon::Information,
                                 MessageBox::Buttons::Ok);
        if (m_closed)
            return; // the window closed while the message was up
        break;
    case ListFileRun::Outcome::ResolveFailed:
    case ListFileRun::Outcome::Aborted:
        m_parts.setInfo(StatusText::listAddressFailed());
        break;
    case ListFileRun::Outcome::WriteFailed:
        m_parts.setInfo(StatusText::listWriteFailed());
        break;
    }
    enableButton();
}

void ListFileCommand::enableButton()
{
    QWidget *button = m_parts.btnCreate;
    button->setEnabled(true);
    const QWidget *focus = button->window()->focusWidget();
    if (m_hadFocus && (!focus || focus == m_focusMovedTo))
        button->setFocus(Qt::OtherFocusReason);
}

} // namespace Lumisong
