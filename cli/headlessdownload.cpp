#include "cli/headlessdownload.h"

#include <csignal>

#include "catalogue/listfilewriter.h"
#include "cli/downloadprogress.h"
#include "common/statustexts.h"
#include "download/songdownloadrun.h"

namespace Lumisong {

HeadlessDownload::HeadlessDownload(ChosenSongs::Options songs, QString folder, std::FILE *out,
                                   std::FILE *err, QObject *parent)
    : ChosenSongsCommand(std::move(songs), out, err, parent), m_folder(std::move(folder))
{
}

HeadlessDownload::~HeadlessDownload() = default;

void HeadlessDownload::start()
{
#ifdef SIGXFSZ
    // A file size limit (ulimit -f) is a full disk to this run, not its end.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    chooseAndResolve(m_err);
}

void HeadlessDownload::resolved()
{
    m_downloads = std::make_unique<SongDownloadRun>(m_folder, chosen().entries(), chosen().parallelism());
    m_downloads->setTags(m_tags);
    m_progress = std::make_unique<DownloadProgress>(m_err);
    SongDownloadRun *downloads = m_downloads.get();
    connect(downloads, &SongDownloadRun::songFinished, this, [this](int row, const QString &path) {
        std::fprintf(m_out, "%d\t%s\n", row, path.toUtf8().constData());
        std::fflush(m_out);
    });
    connect(downloads, &SongDownloadRun::songNote, this,
            [this](const QString &note) { say(m_err, QStringLiteral("lumisong: ") + note); });
    connect(downloads, &SongDownloadRun::progressed, this,
            [this, downloads] { m_progress->update(downloads->done(), downloads->bytesReceived()); });
    connect(downloads, &SongDownloadRun::finished, this, &HeadlessDownload::onDownloaded);
    m_progress->start(int(chosen().entries().size()));
    downloads->start();
}

void HeadlessDownload::onDownloaded()
{
    const SongDownloadRun &downloads = *m_downloads;
    m_progress->finish(downloads.done(), downloads.bytesReceived());
    int status = 0;
    const ExportArchive *archive = chosen().archive();
    ListFileWriter writer;
    if (archive && !downloads.finishedIds().isEmpty()
        && !writer.write({{archive->path(), archive->withAdded(downloads.finishedIds())}}))
        status = fail(StatusText::listWriteFailed()
                      + QStringLiteral(" (%1: %2)").arg(archive->path(), writer.errorString()));
    if (!downloads.fatalError().isEmpty()) {
        emit finished(fail(QStringLiteral("download stopped: ") + downloads.fatalError()));
        return;
    }
    for (const SongDownloadRun::Failure &failure : downloads.failures())
        status = fail(QStringLiteral("row %1 (%2): %3").arg(failure.row).arg(failure.name, failure.reason));
    if (status == 0)
        say(m_err, QStringLiteral("已下载 %1 首歌曲。").arg(downloads.done()));
    emit finished(status);
}

} // namespace Lumisong
