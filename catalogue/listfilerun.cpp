#include "catalogue/listfilerun.h"

#include <QStringList>

#include <algorithm>

#include "catalogue/addressresolver.h"
#include "catalogue/catalogue.h"
#include "catalogue/exportarchive.h"
#include "catalogue/listfilewriter.h"

namespace Lumisong {

ListFileRun::ListFileRun(Catalogue &catalogue, TickQuery isTicked, Parallelism parallelism,
                         QObject *parent)
    : QObject(parent)
    , m_catalogue(catalogue)
    , m_isTicked(std::move(isTicked))
    , m_resolver(new AddressResolver(catalogue, this))
    , m_parallel(std::max(parallelism.requests, 1))
    , m_streams(std::max(parallelism.streams, 1))
{
    connect(m_resolver, &AddressResolver::resolved, this, &ListFileRun::onResolved);
}

ListFileRun::~ListFileRun() = default;

int ListFileRun::window() const
{
    // Requests side by side on one connection cost the site no more
    // connections: where it multiplexes, ask for as many as it may carry.
    return m_multiplexed ? std::max(m_parallel, m_streams) : m_parallel;
}

int ListFileRun::countTicked() const
{
    int count = 0;
    for (int slot = 0; slot < m_catalogue.songCount(); ++slot) {
        if (m_isTicked(slot))
            ++count;
    }
    return count;
}

void ListFileRun::start(const QString &path)
{
    if (m_started)
        return;
    m_started = true;
    m_path = path;
    QMetaObject::invokeMethod(this, &ListFileRun::begin, Qt::QueuedConnection);
}

void ListFileRun::startWithoutFile()
{
    if (m_started)
        return;
    m_writesFile = false;
    m_archive = nullptr; // the caller keeps its own archive
    start(QString());
}

void ListFileRun::abort()
{
    if (m_finished)
        return;
    m_started = true;
    m_error = QStringLiteral("stopped");
    end(Outcome::Aborted);
}

void ListFileRun::setHeld(bool held)
{
    const bool released = m_held && !held;
    m_held = held;
    if (released && m_started)
        QMetaObject::invokeMethod(this, &ListFileRun::askForMore, Qt::QueuedConnection);
}

void ListFileRun::begin()
{
    if (m_finished)
        return;
    // A folder that cannot take a file fails the run before any request.
    ListFileWriter writer;
    for (const QString &path : {m_path, m_archive ? m_archive->path() : QString()}) {
        if (!path.isEmpty() && !writer.canWrite(path)) {
            m_error = path + u": " + writer.errorString();
            end(Outcome::WriteFailed);
            return;
        }
    }
    askForMore();
}

void ListFileRun::askForMore()
{
    if (m_held || m_finished)
        return;
    while (m_resolver->inFlight() < window() && m_nextRow < m_catalogue.songCount()) {
        const int slot = m_nextRow++;
        if (!m_isTicked(slot))
            continue;
        m_picks.push_back(Pick{slot, false, {}});
        showProgress();
        if (m_finished)
            return; // a progress handler ended the run
        if (!m_resolver->resolveAddress(slot)) {
            m_error = QStringLiteral("the address of row %1 cannot be asked for").arg(slot + 1);
            end(Outcome::ResolveFailed);
            return;
        }
    }
    if (m_resolver->inFlight() == 0 && m_nextRow >= m_catalogue.songCount())
        finishEntries();
}

void ListFileRun::onResolved(const AddressResult &result)
{
    if (m_finished)
        return;
    if (!result.ok) {
        m_error = QStringLiteral("the address of row %1 could not be resolved: %2")
                      .arg(result.slot + 1)
                      .arg(result.error);
        end(Outcome::ResolveFailed);
        return;
    }
    m_multiplexed = m_multiplexed || result.multiplexed;
    // Picks are in list order, hence ordered by slot.
    const auto pick = std::lower_bound(m_picks.begin(), m_picks.end(), result.slot,
                                       [](const Pick &p, int slot) { return p.slot < slot; });
    if (pick == m_picks.end() || pick->slot != result.slot)
        return; // not asked for by this run
    pick->answered = true;
    pick->downloadUrl = result.downloadUrl;
    // Answers are taken in list order: one that came early waits for those before it.
    while (m_taken < int(m_picks.size()) && m_picks[size_t(m_taken)].answered) {
        const Pick &next = m_picks[size_t(m_taken)];
        m_catalogue.song(next.slot).downloadUrl = next.downloadUrl;
        ++m_taken;
    }
    showProgress();
    if (!m_finished)
        askForMore();
}

void ListFileRun::showProgress()
{
    // A song is shown as started once the songs before it are done and it has
    // been reached; after a jump of several songs, each number is told in turn.
    const int last = std::min(m_taken, int(m_picks.size()) - 1);
    while (m_shown < last && !m_finished)
        emit progress(++m_shown);
}

void ListFileRun::finishEntries()
{
    m_entries.reserve(m_picks.size());
    for (const Pick &pick : m_picks) {
        ListEntry entry{pick.slot + 1, m_catalogue.song(pick.slot)};
        entry.song.downloadUrl = pick.downloadUrl;
        m_entries.push_back(std::move(entry));
    }
    if (m_writesFile)
        writeFile();
    else
        end(Outcome::Written);
}

void ListFileRun::writeFile()
{
    QStringList songIds;
    for (const ListEntry &entry : m_entries)
        songIds << entry.song.songId;
    const std::optional<QByteArray> bytes = ListFormats::encode(m_format, m_entries, &m_error);
    if (!bytes) {
        end(Outcome::WriteFailed);
        return;
    }
    // The list first: should the archive then fail, the writer puts the list back.
    QList<ListFileWriter::File> files{{m_path, *bytes}};
    if (m_archive)
        files.append({m_archive->path(), m_archive->withAdded(songIds)});
    ListFileWriter writer;
    if (!writer.write(files)) {
        m_error = writer.errorString();
        end(Outcome::WriteFailed);
        return;
    }
    end(Outcome::Written);
}

void ListFileRun::end(Outcome outcome)
{
    m_finished = true;
    m_resolver->abortAll();
    emit finished(outcome);
}

} // namespace Lumisong
