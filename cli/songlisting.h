#pragma once

#include <QByteArray>

namespace Lumisong {

class Catalogue;

// The catalogue's songs as the headless listing prints them, in slot order,
// UTF-8 with LF line ends.
namespace SongListing {

// One line per song: row number, releaseDate, title, singer, album,
// dailyDownloads, totalDownloads, separated by TAB. A TAB, CR, LF or backslash
// inside a value is written as \t, \r, \n or \\, so every line splits cleanly.
QByteArray asText(const Catalogue &catalogue);

// One JSON object and a line end: {"hashedUrl": "...", "songs": [{"songId":
// "...", "releaseDate": ..., "totalDownloads": "..."}, ...]}, all values text.
QByteArray asJson(const Catalogue &catalogue);

} // namespace SongListing
} // namespace Lumisong
