#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

#include "catalogue/songrecord.h"

namespace Lumisong {

// The kinds of download list a run can write. Lst is the program's own list
// file and the default; the others are what download managers and players
// read.
enum class ListFormat {
    Lst,   // one address per CR LF line, then "//By Tolvane"; GBK
    Urls,  // one address per line (wget -i, curl); UTF-8, LF, no trailer
    Aria2, // aria2's input file: each address, then "  out=NAME"; UTF-8, LF
    M3u8,  // "#EXTM3U", then "#EXTINF:-1,SINGER - TITLE" and the address per song; UTF-8, LF
    Json,  // {"songs": [{"row": k, "songId": ..., "downloadUrl": ...}, ...]}; UTF-8, LF
};

// One song of a list: its row (counted from 1) and its fields, downloadUrl resolved.
struct ListEntry
{
    int row = 0;
    SongRecord song;
};

namespace ListFormats {

// "lst", "urls", "aria2", "m3u8", "json", in the order of the enum.
QStringList names();
QString name(ListFormat format);
std::optional<ListFormat> fromName(QStringView name);

// The whole file for the entries, in their order. Only bytes: nothing is
// written here. nullopt, with *error set, when an entry cannot be written as
// the format needs it: an address with a line break, or one that GBK cannot
// hold in a Lst file.
// The file names an Aria2 list gives the entries' songs, in their order:
// safe names, repeats numbered (SafeFileName::forList).
QStringList aria2Names(const std::vector<ListEntry> &entries);

std::optional<QByteArray> encode(ListFormat format, const std::vector<ListEntry> &entries,
                                 QString *error);

} // namespace ListFormats
} // namespace Lumisong
