#include "download/songplan.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "catalogue/safefilename.h"
#include "download/songfolderrecord.h"

namespace Lumisong {

std::vector<PlannedSong> planSongFiles(const std::vector<ListEntry> &entries,
                                       const QString &folder, SongFolderRecord &record)
{
    const QDir dir(folder);
    QSet<QString> taken; // case-folded names of this run
    std::vector<PlannedSong> plan;
    plan.reserve(entries.size());
    for (const ListEntry &entry : entries) {
        PlannedSong song{entry, {}, false, 0};
        const QString &id = song.entry.song.songId;
        if (const SongFolderRecord::Entry *known = record.find(id)) {
            song.name = known->name;
        } else {
            // As the aria2 list names a list's songs: repeats numbered in turn.
            const QString base = SafeFileName::forSong(song.entry.song);
            for (int n = 1;; ++n) {
                song.name = SafeFileName::numbered(base, n);
                const QString owner = record.ownerOf(song.name);
                if ((owner.isEmpty() || owner == id) && !taken.contains(song.name.toCaseFolded()))
                    break;
            }
        }
        taken.insert(song.name.toCaseFolded());
        const QFileInfo file(dir.filePath(song.name));
        if (file.isFile()) {
            song.present = true;
            song.presentSize = file.size();
            record.set(id, {song.name, song.presentSize});
        }
        plan.push_back(std::move(song));
    }
    return plan;
}

} // namespace Lumisong
