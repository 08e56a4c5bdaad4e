#pragma once

#include <QString>

namespace Lumisong {

// One song of the catalogue. Every field is kept exactly as cut from the page;
// numbers and dates are not converted.
struct SongRecord
{
    QString songId;          // sid: appended to hashedUrl to ask for the address
    QString album;           // al
    QString title;           // ti
    QString singer;          // si
    QString releaseDate;     // da
    QString dailyDownloads;  // dl
    QString totalDownloads;  // tl
    QString downloadUrl;     // site prefix + address answer; empty: not resolved yet

    friend bool operator==(const SongRecord &, const SongRecord &) = default;
};

} // namespace Lumisong
