#pragma once

#include <QString>

#include <vector>

#include "catalogue/listformat.h"

namespace Lumisong {

class SongFolderRecord;

// One song of a download run and the file it goes to.
struct PlannedSong
{
    ListEntry entry;
    QString name;         // file name in the folder
    bool present = false; // the folder holds it already: no request
    qint64 presentSize = 0;
};

// The file of each song in a download folder. A song the record knows keeps
// its name. Another gets its safe name (SafeFileName::forSong), or the next
// numbered one (" (2)", ...) while the record gives that name to another
// song or an earlier song of this run has it; in a fresh folder these are
// the names the aria2 list gives. A regular file already there
// under the chosen name counts as the song, whoever put it there.
std::vector<PlannedSong> planSongFiles(const std::vector<ListEntry> &entries,
                                       const QString &folder, SongFolderRecord &record);

} // namespace Lumisong
