#include "app/songdownloadcommand.h"

#include <QWidget>

#include <algorithm>

#include "common/defaults.h"
#include "app/listfilecommand.h"
#include "app/listfoldersetting.h"
#include "common/statustexts.h"
#include "controls/progressbar/progressbar.h"
#include "download/songdownloadrun.h"
#include "forms/listitemsmodel.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/savedialog.h"

namespace Lumisong {

namespace {
constexpr int StepsPerSong = 100; // the bar counts each song's bytes in hundredths
}

SongDownloadCommand::SongDownloadCommand(Parts parts, QObject *parent)
    : QObject(parent), m_parts(std::move(parts)), m_button(m_parts.button), m_process(m_parts.process)
{
}

SongDownloadCommand::~SongDownloadCommand() = default;

QString SongDownloadCommand::progressText(int k, int total, const QString &title)
{
    return QStringLiteral("正在下载第 %1/%2 首：%3").arg(k).arg(total).arg(title);
}

QString SongDownloadCommand::doneText(int songs)
{
    return QStringLiteral("下载完成，共 %1 首歌曲。").arg(songs);
}

QString SongDownloadCommand::failedText(int failures, const QString &firstReason)
{
    return QStringLiteral("有 %1 首歌曲下载失败：%2").arg(failures).arg(firstReason);
}

void SongDownloadCommand::start()
{
    if (m_running)
        return;
    m_running = true;
    m_stopped = false;
    m_button->setEnabled(false);
    m_folder = m_parts.dialog->askFolder(
        m_parts.window, QStringLiteral("选择保存歌曲的文件夹"),
        ListFolderSetting::startFolder(m_parts.settings, ListFolderSetting::DownloadKey));
    if (m_folder.isEmpty()) {
        m_running = false;
        if (m_button)
            m_button->setEnabled(true);
        return;
    }
    ListFolderSetting::rememberDownloadFolder(m_parts.settings, m_folder);
    const QPointer<ListItemsModel> items(m_parts.items);
    m_resolving = std::make_unique<ListFileRun>(
        *m_parts.catalogue,
        [items](int slot) { return items && slot < items->rowCount() && items->isChecked(slot); },
        m_parts.parallelism);
    if (m_process) {
        m_process->setVisible(true);
        m_process->setMax(std::max(1, m_resolving->countTicked()));
        m_process->setValue(0);
    }
    connect(m_resolving.get(), &ListFileRun::progress, this, [this](int finished) {
        if (!m_process)
            return;
        m_process->setValue(finished);
        m_process->setText(ListFileCommand::progressText(finished, m_process->max()));
    });
    connect(m_resolving.get(), &ListFileRun::finished, this, &SongDownloadCommand::onResolved);
    m_resolving->startWithoutFile();
}

void SongDownloadCommand::onResolved(ListFileRun::Outcome outcome)
{
    if (outcome != ListFileRun::Outcome::Written) {
        end(m_stopped ? QStringLiteral("下载已停止。") : StatusText::listAddressFailed());
        return;
    }
    m_run = std::make_unique<SongDownloadRun>(m_folder, m_resolving->entries(), m_parts.parallelism);
    if (m_process)
        m_process->setMax(std::max(1, m_run->total()) * StepsPerSong);
    connect(m_run.get(), &SongDownloadRun::progressed, this, &SongDownloadCommand::showProgress);
    connect(m_run.get(), &SongDownloadRun::finished, this, &SongDownloadCommand::onDownloaded);
    m_run->start();
}

void SongDownloadCommand::showProgress()
{
    if (!m_process || !m_run)
        return;
    const int total = m_run->total();
    const qint64 expected = m_run->bytesExpected();
    const int current = expected > 0 ? int(m_run->bytesHave() * StepsPerSong / expected) : 0;
    m_process->setValue(std::min(total * StepsPerSong, m_run->done() * StepsPerSong + current));
    m_process->setText(progressText(std::min(total, m_run->done() + 1), total, m_run->currentTitle()));
}

void SongDownloadCommand::onDownloaded()
{
    if (m_stopped)
        end(QStringLiteral("下载已停止。"));
    else if (!m_run->fatalError().isEmpty())
        end(QStringLiteral("下载中止：") + m_run->fatalError());
    else if (!m_run->failures().empty())
        end(failedText(int(m_run->failures().size()), m_run->failures().front().reason));
    else
        end(doneText(m_run->done()));
}

bool SongDownloadCommand::askToStop()
{
    if (!m_running)
        return true;
    const MessageBox::Answer answer = m_parts.messageBox->show(
        m_parts.window, QStringLiteral("正在下载歌曲，是否停止下载？（已下载的部分会保留）"),
        Defaults::ProgramTitle.toString(), MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
    if (answer != MessageBox::Answer::Yes || !m_running)
        return !m_running;
    m_stopped = true;
    if (m_run)
        m_run->abort(); // finished() comes from inside
    else if (m_resolving)
        m_resolving->abort();
    return true;
}

void SongDownloadCommand::abort()
{
    m_running = false;
    for (QObject *run : {static_cast<QObject *>(m_resolving.get()), static_cast<QObject *>(m_run.get())}) {
        if (run)
            run->disconnect(this);
    }
    if (m_run)
        m_run->abort();
    if (m_resolving)
        m_resolving->abort();
}

void SongDownloadCommand::end(const QString &info)
{
    m_running = false;
    if (m_process)
        m_process->setVisible(false);
    if (m_button)
        m_button->setEnabled(true);
    if (m_parts.setInfo)
        m_parts.setInfo(info);
    emit finished();
}

} // namespace Lumisong
