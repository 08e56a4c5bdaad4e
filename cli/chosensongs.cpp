#include "cli/chosensongs.h"

#include "cli/consoleprogress.h"
#include "catalogue/listfilewait.h"
#include "cli/rowselection.h"
#include "common/statustexts.h"
#include "catalogue/catalogue.h"
#include "catalogue/listfilewriter.h"
#include "net/fetchlimits.h"

namespace Lumisong {

ChosenSongs::ChosenSongs(Options options) : m_options(std::move(options)) {}

ChosenSongs::~ChosenSongs() = default;

ChosenSongs::Status ChosenSongs::prepare(std::FILE *err)
{
    FetchLimits limits = fetchLimits();
    if (m_options.connections > 0)
        limits.connectionsPerSite = m_options.connections;
    if (m_options.streams > 0)
        limits.streamsPerConnection = m_options.streams;
    // The connections also cap the HTTP layer's connections to the site.
    setFetchLimits(limits);
    m_parallelism = {limits.connectionsPerSite, limits.streamsPerConnection};
    QString error;
    std::optional<RowSelection> selection = RowSelection::all();
    if (!m_options.songs.isNull())
        selection = RowSelection::parse(m_options.songs, &error);
    if (!selection) {
        m_error = QStringLiteral("--songs: ") + error;
        return Status::Failed;
    }
    // Read before anything is fetched: an archive that cannot be read stops the run.
    if (!m_options.archivePath.isEmpty()) {
        m_archive = ExportArchive::read(m_options.archivePath, &error);
        if (!m_archive) {
            m_error = QStringLiteral("--archive: ") + error;
            return Status::Failed;
        }
    }

    m_catalogue = std::make_unique<Catalogue>(m_options.siteBase);
    const Catalogue::LoadResult loaded = m_catalogue->loadCatalogue();
    // A page without a whole song array is no catalogue, not an empty one.
    if (!loaded.arrived || !loaded.hasSongArray) {
        m_error = StatusText::catalogueMissing()
                  + QStringLiteral(" (no catalogue from %1)").arg(m_options.siteBase);
        return Status::Failed;
    }
    if (loaded.truncated)
        std::fprintf(err, "lumisong: the page holds more songs than the list; only the first %d are used\n",
                     loaded.count);

    std::optional<std::vector<bool>> ticks = selection->ticks(loaded.count, &error);
    if (!ticks) {
        m_error = QStringLiteral("--songs: ") + error;
        return Status::Failed;
    }
    m_ticks = std::move(*ticks);
    if (!m_archive)
        return Status::Ready;
    bool anyLeft = false;
    for (size_t slot = 0; slot < m_ticks.size(); ++slot) {
        if (m_ticks[slot] && m_archive->contains(m_catalogue->song(int(slot)).songId))
            m_ticks[slot] = false;
        anyLeft = anyLeft || m_ticks[slot];
    }
    return anyLeft ? Status::Ready : Status::NothingNew;
}

ListFileRun::Outcome ChosenSongs::resolve(ListFileRun &run, const QString &path, std::FILE *err)
{
    ConsoleProgress progress(err);
    const int total = run.countTicked();
    progress.start(total);
    int done = 0;
    QObject::connect(&run, &ListFileRun::progress, &run, [&](int finished) {
        done = finished;
        progress.update(finished);
    });
    const ListFileRun::Outcome outcome = path.isNull() ? runToTheEnd(run) : runToTheEnd(run, path);
    progress.finish(outcome == ListFileRun::Outcome::Written ? total : done);
    return outcome;
}

std::unique_ptr<ListFileRun> ChosenSongs::resolveForHandOff(std::FILE *err)
{
    ListFileWriter writer;
    if (m_archive && !writer.canWrite(m_archive->path())) {
        m_error = StatusText::listWriteFailed()
                  + QStringLiteral(" (%1: %2)").arg(m_archive->path(), writer.errorString());
        return nullptr;
    }
    auto run = std::make_unique<ListFileRun>(
        *m_catalogue, [this](int slot) { return isChosen(slot); }, m_parallelism);
    if (resolve(*run, QString(), err) != ListFileRun::Outcome::Written) {
        m_error = StatusText::listAddressFailed() + QStringLiteral(" (") + run->errorString() + u')';
        return nullptr;
    }
    return run;
}

} // namespace Lumisong
