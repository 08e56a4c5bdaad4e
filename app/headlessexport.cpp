#include "app/headlessexport.h"

#include "app/consoleprogress.h"
#include "app/listfilewait.h"
#include "app/statustexts.h"
#include "catalogue/catalogue.h"
#include "catalogue/exportarchive.h"
#include "catalogue/listfilerun.h"
#include "net/fetchlimits.h"

namespace Lumisong {

namespace {

// Unticks the songs the archive lists; false when no ticked song is left.
bool leaveOutArchived(std::vector<bool> &ticks, const Catalogue &catalogue,
                      const ExportArchive &archive)
{
    bool anyLeft = false;
    for (size_t slot = 0; slot < ticks.size(); ++slot) {
        if (ticks[slot] && archive.contains(catalogue.song(int(slot)).songId))
            ticks[slot] = false;
        anyLeft = anyLeft || ticks[slot];
    }
    return anyLeft;
}

} // namespace

HeadlessExport::HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out,
                               std::FILE *err)
    : m_siteBase(std::move(siteBase))
    , m_file(std::move(file))
    , m_songs(std::move(songs))
    , m_out(out)
    , m_err(err)
{
}

int HeadlessExport::fail(const QString &message)
{
    std::fprintf(m_err, "lumisong: %s\n", message.toUtf8().constData());
    std::fflush(m_err);
    return FailureExitCode;
}

int HeadlessExport::succeed(const QString &message)
{
    std::fprintf(m_out, "%s\n", message.toUtf8().constData());
    std::fflush(m_out);
    return 0;
}

void HeadlessExport::setConnections(int connections)
{
    m_connections = connections;
}

void HeadlessExport::setStreams(int streams)
{
    m_streams = streams;
}

void HeadlessExport::setFormat(ListFormat format)
{
    m_format = format;
}

void HeadlessExport::setArchive(const QString &path)
{
    m_archivePath = path;
}

int HeadlessExport::run()
{
    FetchLimits limits = fetchLimits();
    if (m_connections > 0)
        limits.connectionsPerSite = m_connections;
    if (m_streams > 0)
        limits.streamsPerConnection = m_streams;
    setFetchLimits(limits);
    QString error;
    std::optional<RowSelection> selection = RowSelection::all();
    if (!m_songs.isNull())
        selection = RowSelection::parse(m_songs, &error);
    if (!selection)
        return fail(QStringLiteral("--songs: ") + error);
    // Read before anything is fetched: an archive that cannot be read stops the run.
    std::optional<ExportArchive> archive;
    if (!m_archivePath.isEmpty()) {
        archive = ExportArchive::read(m_archivePath, &error);
        if (!archive)
            return fail(QStringLiteral("--archive: ") + error);
    }

    Catalogue catalogue(m_siteBase);
    const Catalogue::LoadResult loaded = catalogue.loadCatalogue();
    if (!loaded.arrived)
        return fail(StatusText::catalogueMissing() + QStringLiteral(" (no catalogue from %1)").arg(m_siteBase));
    if (loaded.truncated)
        std::fprintf(m_err, "lumisong: the page holds more songs than the list; only the first %d are used\n",
                     loaded.count);

    std::optional<std::vector<bool>> ticks = selection->ticks(loaded.count, &error);
    if (!ticks)
        return fail(QStringLiteral("--songs: ") + error);
    if (archive && !leaveOutArchived(*ticks, catalogue, *archive))
        return succeed(QStringLiteral("没有新的歌曲。"));

    ListFileRun listRun(catalogue, [&ticks](int slot) { return (*ticks)[size_t(slot)]; });
    listRun.setFormat(m_format);
    if (archive)
        listRun.setArchive(&*archive);
    ConsoleProgress progress(m_err);
    const int total = listRun.countTicked();
    progress.start(total);
    int done = 0;
    QObject::connect(&listRun, &ListFileRun::progress, &listRun, [&](int finished) {
        done = finished;
        progress.update(finished);
    });
    const ListFileRun::Outcome outcome = runToTheEnd(listRun, m_file);
    progress.finish(outcome == ListFileRun::Outcome::Written ? total : done);

    switch (outcome) {
    case ListFileRun::Outcome::Written:
        return succeed(QStringLiteral("列表成功生成！"));
    case ListFileRun::Outcome::ResolveFailed:
    case ListFileRun::Outcome::Aborted:
        return fail(StatusText::listAddressFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
    case ListFileRun::Outcome::WriteFailed:
        break;
    }
    return fail(StatusText::listWriteFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
}

} // namespace Lumisong
