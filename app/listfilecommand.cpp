#include "app/listfilecommand.h"

#include <QFileInfo>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "app/defaults.h"
#include "app/listfilewait.h"
#include "app/listitemsmodel.h"
#include "app/statustexts.h"
#include "catalogue/catalogue.h"
#include "catalogue/listfilerun.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/savedialog.h"

namespace Lumisong {

namespace {

// Asks for the target until the user settles on one; empty text = cancelled.
QString chooseTarget(const ListFileCommand::Parts &parts)
{
    const SaveDialogRequest request{
        Defaults::ProgramTitle.toString(),
        QStringLiteral("百度新歌下载列表"),
        QStringLiteral("lst"),
        QStringLiteral("列表文件(*.lst)|*.lst|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*"),
    };
    for (;;) {
        const QString path = parts.saveDialog->askSaveFileName(parts.window, request);
        if (path.isEmpty() || !QFileInfo::exists(path))
            return path;
        switch (parts.messageBox->show(parts.window, QStringLiteral("文件已经存在，是否覆盖？"),
                                       QStringLiteral("覆盖"), MessageBox::Icon::Question,
                                       MessageBox::Buttons::YesNoCancel)) {
        case MessageBox::Answer::Yes:
            return path;
        case MessageBox::Answer::No:
            continue; // the dialog opens again with the preset name
        case MessageBox::Answer::Cancel:
        case MessageBox::Answer::Ok:
            return {};
        }
    }
}

} // namespace

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
    const QPointer<QWidget> process(parts.process);
    const auto setBar = [&process](const char *property, const QVariant &value) {
        if (process)
            process->setProperty(property, value);
    };
    const auto enableButton = [&button] {
        if (button)
            button->setEnabled(true);
    };

    parts.btnCreate->setEnabled(false);
    const QString path = chooseTarget(parts);
    if (path.isEmpty() || !window) {
        enableButton();
        return;
    }

    const QPointer<ListItemsModel> items(parts.items);
    ListFileRun listRun(*parts.catalogue, [&items](int slot) {
        return items && slot < items->rowCount() && items->isChecked(slot);
    });
    if (process)
        process->setVisible(true);
    setBar("Max", listRun.countTicked());
    QObject::connect(&listRun, &ListFileRun::progress, &listRun, [&](int finished) {
        setBar("Value", finished);
        // The count shown is the bar's own maximum, read back (it may have raised it).
        const int max = process ? process->property("Max").toInt() : 0;
        setBar("Text", progressText(finished, max));
    });
    const ListFileRun::Outcome outcome = runToTheEnd(listRun, path);
    if (!window)
        return;

    switch (outcome) {
    case ListFileRun::Outcome::Written:
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
