#pragma once

#include <QString>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/exportarchive.h"
#include "catalogue/listfilerun.h"

namespace Lumisong {

class Catalogue;

// The songs a headless run over chosen rows works on, and their resolution:
// the fetch limits of --connections and --streams, the rows of --all or
// --songs, the archive read before anything is fetched, the catalogue loaded
// from the site, the songs the archive lists left out. Shared by the export
// and the sending to a download manager, so that both choose and resolve alike.
class ChosenSongs
{
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

    explicit ChosenSongs(Options options);
    ~ChosenSongs();
    ChosenSongs(const ChosenSongs &) = delete;
    ChosenSongs &operator=(const ChosenSongs &) = delete;

    // Sets the fetch limits and loads the catalogue; notes (a page with more
    // songs than the list holds) go to `err`.
    Status prepare(std::FILE *err);
    const QString &error() const { return m_error; }

    Catalogue &catalogue() { return *m_catalogue; }
    // The archive read by prepare(), when one was given.
    const ExportArchive *archive() const { return m_archive ? &*m_archive : nullptr; }
    bool isChosen(int slot) const { return m_ticks[size_t(slot)]; }
    // How many addresses a run over the songs asks for at a time: --connections
    // and --streams, or the fetch limits' own numbers; set by prepare().
    ListFileRun::Parallelism parallelism() const { return m_parallelism; }

    // Runs `run` (made over catalogue() and isChosen) to its end, with its
    // progress on `err`: into `path`, or without a file when `path` is null.
    static ListFileRun::Outcome resolve(ListFileRun &run, const QString &path, std::FILE *err);
    // For the runs that hand the songs on (to aria2, to the music folder):
    // checks that the archive can take them before anything is fetched, then
    // resolves every chosen address. The resolved run, or null with error()
    // saying why.
    std::unique_ptr<ListFileRun> resolveForHandOff(std::FILE *err);

private:
    Options m_options;
    QString m_error;
    std::unique_ptr<Catalogue> m_catalogue;
    std::optional<ExportArchive> m_archive;
    std::vector<bool> m_ticks;
    ListFileRun::Parallelism m_parallelism;
};

} // namespace Lumisong
