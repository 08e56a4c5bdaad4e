#pragma once

#include <QString>

#include "catalogue/songrecord.h"

namespace Lumisong {

// Writes the catalogue's fields into a downloaded MP3 file with TagLib: an
// ID3v2.4 tag, UTF-8, with title (TIT2), singer (TPE1), album (TALB), release
// date (TDRC) and the address the file came from (WOAF). Other frames of a
// tag the file brought stay.
namespace SongTagger {

enum class Result {
    Tagged,
    NotAudio, // TagLib finds no MPEG audio in it (no length, no bit rate): left as it is
    Failed,   // the file could not be read or written
};

// Only files whose name ends in ".mp3" (or `path` given as a .part of one)
// are worth a tag; others are left as served.
bool wantsTag(const QString &fileName);

Result tag(const QString &path, const SongRecord &song);

} // namespace SongTagger
} // namespace Lumisong
