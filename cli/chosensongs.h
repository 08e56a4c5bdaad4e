#pragma once

#include <QObject>
#include <QString>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/exportarchive.h"
#include "catalogue/listfilerun.h"
#include "catalogue/listformat.h"
#include "cli/rowselection.h"

namespace Lumisong {

class CatalogueLoad;
class ConsoleProgress;

// The songs a headless run over chosen rows works on, and their resolution:
// the fetch limits of --connections and --streams, the rows of --all or
// --songs, the archive read before anything is fetched, the catalogue loaded
// from the site, the songs the archive lists left out. Shared by the export
// and the hand-offs (to aria2, to a music folder), so that all choose and
// resolve alike. Waits for nothing: each step ends with a signal.
class ChosenSongs final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChosenSongs)

public:
    struct Options
    {
        QString siteBase;
        QString songs;       // the text of --songs; a null text means --all
        QString archivePath; // empty: no archive
        int connections = 0; // 0: as the fetch limits stand
        int streams = 0;     // 0: as the fetch limits stand
    };

    enum class Status {
        Ready,      // songs are chosen
        NothingNew, // the archive lists every chosen song
        Failed,     // error() says why
    };
    Q_ENUM(Status)

    explicit ChosenSongs(Options options, QObject *parent = nullptr);
    ~ChosenSongs() override;

    // Once: sets the fetch limits, reads the rows and the archive, then loads
    // the catalogue; ends with prepared(), inside this call when the rows or
    // the archive fail. Notes (a page with more songs than the list holds)
    // go to `err`.
    void prepare(std::FILE *err);

    // Once, after prepared(Ready): resolves every chosen address with its
    // progress on `err`, into the list file `path` of `format` (the archive
    // written with it), or, with a null path, for a hand-off: the archive is
    // then checked first to take the songs. Ends with resolved(), from the
    // event loop. Anything but Written leaves error() saying why.
    void resolve(const QString &path, ListFormat format, std::FILE *err);

    const QString &error() const { return m_error; }
    Catalogue &catalogue() { return *m_catalogue; }
    // The archive read by prepare(), when one was given.
    const ExportArchive *archive() const { return m_archive ? &*m_archive : nullptr; }
    bool isChosen(int slot) const { return m_ticks[size_t(slot)]; }
    // How many addresses a run over the songs asks for at a time: --connections
    // and --streams, or the fetch limits' own numbers; set by prepare().
    ListFileRun::Parallelism parallelism() const { return m_parallelism; }
    // The songs with their addresses, in list order, once resolved as Written.
    const std::vector<ListEntry> &entries() const { return m_run->entries(); }

signals:
    void prepared(Lumisong::ChosenSongs::Status status);
    void resolved(Lumisong::ListFileRun::Outcome outcome);

private:
    Status choose(const Catalogue::LoadResult &loaded);
    void onResolved(ListFileRun::Outcome outcome);

    Options m_options;
    std::FILE *m_err = nullptr;
    QString m_error;
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<CatalogueLoad> m_load;
    std::optional<RowSelection> m_selection;
    std::optional<ExportArchive> m_archive;
    std::vector<bool> m_ticks;
    ListFileRun::Parallelism m_parallelism;
    std::unique_ptr<ListFileRun> m_run;
    std::unique_ptr<ConsoleProgress> m_progress;
    int m_total = 0; // songs to resolve
    int m_done = 0;  // songs resolved so far, as the progress told
};

} // namespace Lumisong
