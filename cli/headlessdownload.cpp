#include "cli/headlessdownload.h"

#include <QEventLoop>

#include <csignal>

#include "common/statustexts.h"
#include "catalogue/listfilewriter.h"
#include "cli/downloadprogress.h"
#include "download/songdownloadrun.h"

namespace Lumisong {

HeadlessDownload::HeadlessDownload(ChosenSongs::Options songs, QString folder, std::FILE *out,
                                   std::FILE *err)
    : m_songs(std::move(songs)), m_folder(std::move(folder)), m_out(out), m_err(err)
{
}

int HeadlessDownload::fail(const QString &message)
{
    say(QStringLiteral("lumisong: ") + message);
    return FailureExitCode;
}

void HeadlessDownload::say(const QString &text)
{
    std::fprintf(m_err, "%s\n", text.toUtf8().constData());
    std::fflush(m_err);
}

int HeadlessDownload::run()
{
#ifdef SIGXFSZ
    // A file size limit (ulimit -f) is a full disk to this run, not its end.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    ChosenSongs chosen(m_songs);
    switch (chosen.prepare(m_err)) {
    case ChosenSongs::Status::Ready:
        break;
    case ChosenSongs::Status::NothingNew:
        say(QStringLiteral("没有新的歌曲。"));
        return 0;
    case ChosenSongs::Status::Failed:
        return fail(chosen.error());
    }
    const std::unique_ptr<ListFileRun> resolving = chosen.resolveForHandOff(m_err);
    if (!resolving)
        return fail(chosen.error());

    SongDownloadRun downloads(m_folder, resolving->entries(), chosen.parallelism());
    downloads.setTags(m_tags);
    DownloadProgress progress(m_err);
    QObject::connect(&downloads, &SongDownloadRun::songFinished, &downloads,
                     [this](int row, const QString &path) {
                         std::fprintf(m_out, "%d\t%s\n", row, path.toUtf8().constData());
                         std::fflush(m_out);
                     });
    QObject::connect(&downloads, &SongDownloadRun::songNote, &downloads,
                     [this](const QString &note) { say(QStringLiteral("lumisong: ") + note); });
    QObject::connect(&downloads, &SongDownloadRun::progressed, &downloads,
                     [&] { progress.update(downloads.done(), downloads.bytesReceived()); });
    QEventLoop loop;
    QObject::connect(&downloads, &SongDownloadRun::finished, &loop, &QEventLoop::quit);
    progress.start(int(resolving->entries().size()));
    downloads.start();
    loop.exec();
    progress.finish(downloads.done(), downloads.bytesReceived());

    int status = 0;
    ListFileWriter writer;
    if (chosen.archive() && !downloads.finishedIds().isEmpty()
        && !writer.write({{chosen.archive()->path(), chosen.archive()->withAdded(downloads.finishedIds())}}))
        status = fail(StatusText::listWriteFailed()
                      + QStringLiteral(" (%1: %2)").arg(chosen.archive()->path(), writer.errorString()));
    if (!downloads.fatalError().isEmpty())
        return fail(QStringLiteral("download stopped: ") + downloads.fatalError());
    for (const SongDownloadRun::Failure &failure : downloads.failures())
        status = fail(QStringLiteral("row %1 (%2): %3").arg(failure.row).arg(failure.name, failure.reason));
    if (status == 0)
        say(QStringLiteral("已下载 %1 首歌曲。").arg(downloads.done()));
    return status;
}

} // namespace Lumisong
