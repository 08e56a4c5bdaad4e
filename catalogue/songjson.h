#pragma once

#include <QString>

#include "catalogue/songrecord.h"

namespace Lumisong::SongJson {

// The song's catalogue fields as JSON members, all values text, in this
// order: "songId", "releaseDate", "title", "singer", "album",
// "dailyDownloads", "totalDownloads"; separated by ", ", without braces.
void appendFields(QString &out, const SongRecord &song);

} // namespace Lumisong::SongJson
