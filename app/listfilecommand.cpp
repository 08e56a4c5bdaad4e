#include "app/listfilecommand.h"

#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

#include <iterator>

#include "common/defaults.h"
#include "catalogue/listfilewait.h"
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

// Esc in the window during the run asks whether to stop it; the run waits
// meanwhile, so that "是" stops it before anything is written. The shortcut
// belongs to the window and goes with it should the window close first.
QPointer<QShortcut> stopOnEscape(const ListFileCommand::Parts &parts, ListFileRun &run, bool *stopped)
{
    const QPointer<QShortcut> escape(new QShortcut(QKeySequence(Qt::Key_Escape), parts.window));
    MessageBox *messageBox = parts.messageBox;
    QObject::connect(escape, &QShortcut::activated, &run, [&run, stopped, messageBox, window = QPointer<QWidget>(parts.window)] {
        if (run.isFinished() || !window)
            return;
        run.setHeld(true);
        const MessageBox::Answer answer =
            messageBox->show(window, QStringLiteral("是否停止生成列表？"),
                             Defaults::ProgramTitle.toString(), MessageBox::Icon::Question,
                             MessageBox::Buttons::YesNo);
        if (run.isFinished())
            return;
        if (answer == MessageBox::Answer::Yes && window) {
            *stopped = true;
            run.abort();
        } else {
            run.setHeld(false);
        }
    });
    return escape;
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

void ListFileCommand::run(const Parts &parts)
{
    // Dialogs and requests run nested event loops in which the window may
    // close; nothing of it is touched once it is gone.
    const QPointer<QWidget> window(parts.window);
    const QPointer<QWidget> button(parts.btnCreate);
    const QPointer<ProgressBar> process(parts.process);
    // Disabling the focused button moves the focus on to the next control;
    // unless the user has moved it since, it comes back with the button.
    // (The window's focus widget, which stays while a dialog is up.)
    const bool hadFocus = parts.btnCreate->window()->focusWidget() == parts.btnCreate;
    parts.btnCreate->setEnabled(false);
    const QPointer<QWidget> focusMovedTo(hadFocus ? parts.btnCreate->window()->focusWidget() : nullptr);
    const auto enableButton = [&button, hadFocus, &focusMovedTo] {
        if (!button)
            return;
        button->setEnabled(true);
        const QWidget *focus = button->window()->focusWidget();
        if (hadFocus && (!focus || focus == focusMovedTo))
            button->setFocus(Qt::OtherFocusReason);
    };

    const SaveDialogAnswer target = chooseTarget(parts);
    if (target.path.isEmpty() || !window) {
        enableButton();
        return;
    }

    const QPointer<ListItemsModel> items(parts.items);
    ListFileRun listRun(
        *parts.catalogue,
        [&items](int slot) { return items && slot < items->rowCount() && items->isChecked(slot); },
        parts.parallelism);
    listRun.setFormat(formatOfType(target.type));
    if (process) {
        process->setVisible(true);
        process->setMax(listRun.countTicked());
    }
    QObject::connect(&listRun, &ListFileRun::progress, &listRun, [&process](int finished) {
        if (!process)
            return;
        process->setValue(finished);
        // The count shown is the bar's own maximum, read back (it may have raised it).
        process->setText(progressText(finished, process->max()));
    });
    bool stopped = false;
    const QPointer<QShortcut> escape = stopOnEscape(parts, listRun, &stopped);
    const ListFileRun::Outcome outcome = runToTheEnd(listRun, target.path);
    delete escape.data();
    if (!window)
        return;

    if (stopped) {
        if (process)
            process->setVisible(false);
        parts.setInfo(StatusText::listStopped());
        enableButton();
        return;
    }
    switch (outcome) {
    case ListFileRun::Outcome::Written:
        ListFolderSetting::remember(parts.settings, target.path);
        if (process)
            process->setVisible(false);
        parts.messageBox->show(window, QStringLiteral("列表成功生成！"), Defaults::ProgramTitle.toString(),
                               MessageBox::Icon::Information, MessageBox::Buttons::Ok);
        break;
    case ListFileRun::Outcome::ResolveFailed:
    case ListFileRun::Outcome::Aborted:
        parts.setInfo(StatusText::listAddressFailed());
        break;
    case ListFileRun::Outcome::WriteFailed:
        parts.setInfo(StatusText::listWriteFailed());
        break;
    }
    enableButton();
}

} // namespace Lumisong
