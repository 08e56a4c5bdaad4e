#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "catalogue/songrecord.h"

namespace Lumisong {

// File names made from song fields, for download managers that save each
// song under a name of its own. A name is a single path segment: it can
// never leave the download folder.
namespace SafeFileName {

// At most this many bytes of UTF-8 before the extension.
inline constexpr int MaxStemBytes = 180;

// "SINGER - TITLE"; only the one that is not blank when the other is, and the
// empty text when both are. Blanks around each are dropped.
QString songLabel(const SongRecord &song);

// The extension of the address's own file: 1 to 5 ASCII letters or digits
// after the last dot of the last segment of its path; else "mp3".
QString extensionOf(const QString &address);

// The song's file name, "STEM.EXT": the label with / \ : * ? " < > |, control
// characters and unpaired surrogates made "_", blanks and dots trimmed from
// both ends, cut on a character boundary to MaxStemBytes of UTF-8; the song id
// treated alike when that leaves nothing, and "song" when the id does too.
// EXT is extensionOf(downloadUrl).
QString forSong(const SongRecord &song);

// The names of a whole list, in its order: a name that an earlier song
// already has (letter case aside, as on the file systems that ignore it) gets
// " (2)", " (3)", ... before the extension, the first number that makes it
// unique, the stem cut so that it stays within MaxStemBytes.
QStringList forList(const std::vector<SongRecord> &songs);

// "STEM (n).EXT" of a name forSong or forList gave, the stem cut so that it
// stays within MaxStemBytes; the name itself for n below 2.
QString numbered(const QString &fileName, int n);

} // namespace SafeFileName
} // namespace Lumisong
