#include "cli/chosensongs.h"

#include "catalogue/listfilewriter.h"
#include "catalogue/catalogueload.h"
#include "cli/consoleprogress.h"
#include "common/statustexts.h"
#include "net/fetchlimits.h"

namespace Lumisong {

ChosenSongs::ChosenSongs(Options options, QObject *parent)
    : QObject(parent), m_options(std::move(options))
{
}

ChosenSongs::~ChosenSongs() = default;

void ChosenSongs::prepare(std::FILE *err)
{
    m_err = err;
    FetchLimits limits = fetchLimits();
    if (m_options.connections > 0)
        limits.connectionsPerSite = m_options.connections;
    if (m_options.streams > 0)
        limits.streamsPerConnection = m_options.streams;
    // The connections also cap the HTTP layer's connections to the site.
    setFetchLimits(limits);
    m_parallelism = {limits.connectionsPerSite, limits.streamsPerConnection};
    QString error;
    m_selection = RowSelection::all();
    if (!m_options.songs.isNull())
        m_selection = RowSelection::parse(m_options.songs, &error);
    if (!m_selection) {
        m_error = QStringLiteral("--songs: ") + error;
        emit prepared(Status::Failed);
        return;
    }
    // Read before anything is fetched: an archive that cannot be read stops the run.
    if (!m_options.archivePath.isEmpty()) {
        m_archive = ExportArchive::read(m_options.archivePath, &error);
        if (!m_archive) {
            m_error = QStringLiteral("--archive: ") + error;
            emit prepared(Status::Failed);
            return;
        }
    }
    m_catalogue = std::make_unique<Catalogue>(m_options.siteBase);
    m_load = std::make_unique<CatalogueLoad>(*m_catalogue);
    connect(m_load.get(), &CatalogueLoad::finished, this,
            [this](const Catalogue::LoadResult &loaded) { emit prepared(choose(loaded)); });
    m_load->start();
}

ChosenSongs::Status ChosenSongs::choose(const Catalogue::LoadResult &loaded)
{
    // A page without a whole song array is no catalogue, not an empty one.
    if (!loaded.arrived || !loaded.hasSongArray) {
        m_error = StatusText::catalogueMissing()
                  + QStringLiteral(" (no catalogue from %1)").arg(m_options.siteBase);
        return Status::Failed;
    }
    if (loaded.truncated)
        std::fprintf(m_err, "lumisong: the page holds more songs than the list; only the first %d are used\n",
                     loaded.count);

    QString error;
    std::optional<std::vector<bool>> ticks = m_selection->ticks(loaded.count, &error);
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

void ChosenSongs::resolve(const QString &path, ListFormat format, std::FILE *err)
{
    m_run = std::make_unique<ListFileRun>(
        *m_catalogue, [this](int slot) { return isChosen(slot); }, m_parallelism);
    if (path.isNull()) {
        // What aria2 or the folder takes is archived: the archive must take it.
        ListFileWriter writer;
        if (m_archive && !writer.canWrite(m_archive->path())) {
            m_error = StatusText::listWriteFailed()
                      + QStringLiteral(" (%1: %2)").arg(m_archive->path(), writer.errorString());
            // From the event loop, as a run's own end would come.
            QMetaObject::invokeMethod(
                this, [this] { emit resolved(ListFileRun::Outcome::WriteFailed); }, Qt::QueuedConnection);
            return;
        }
    } else {
        m_run->setFormat(format);
        m_run->setArchive(archive());
    }
    m_progress = std::make_unique<ConsoleProgress>(err);
    m_total = m_run->countTicked();
    m_progress->start(m_total);
    connect(m_run.get(), &ListFileRun::progress, this, [this](int finished) {
        m_done = finished;
        m_progress->update(finished);
    });
    connect(m_run.get(), &ListFileRun::finished, this, &ChosenSongs::onResolved);
    if (path.isNull())
        m_run->startWithoutFile();
    else
        m_run->start(path);
}

void ChosenSongs::onResolved(ListFileRun::Outcome outcome)
{
    m_progress->finish(outcome == ListFileRun::Outcome::Written ? m_total : m_done);
    const QString reason = QStringLiteral(" (") + m_run->errorString() + u')';
    if (outcome == ListFileRun::Outcome::WriteFailed)
        m_error = StatusText::listWriteFailed() + reason;
    else if (outcome != ListFileRun::Outcome::Written)
        m_error = StatusText::listAddressFailed() + reason;
    emit resolved(outcome);
}

} // namespace Lumisong
