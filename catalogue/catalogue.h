#pragma once

#include <QString>

#include <vector>

#include "catalogue/songrecord.h"

namespace Lumisong {

struct FetchResult;

// The program's song catalogue: the table of exactly Capacity song slots
// (songTable; slot k is row k+1 of the song list) and hashedUrl, the prefix of
// every address request. Owned by the application; not a QObject. Download
// addresses are asked for by an AddressResolver and stored in the songs.
class Catalogue
{
public:
    static constexpr int Capacity = 1000;

    // "http://host[:port]": no path, no trailing slash. The page is requested at
    // its root, and the same text prefixes every download address.
    explicit Catalogue(QString siteBase);

    struct LoadResult
    {
        bool arrived = false;    // false: page missing (failed request or empty page)
        int count = 0;           // songs loaded, 0..Capacity
        bool truncated = false;  // the page held more than Capacity song objects
        // The page holds a whole song array (maybe an empty one). Without
        // one it is no catalogue, though the window shows it as one of no songs.
        bool hasSongArray = false;
    };

    // The new-songs page: siteBase + "/", read as "gb2312" (CatalogueLoad asks for it).
    QString pageAddress() const;
    // Fills the table from its first slot with the songs of the page's
    // answer. A page missing (failed request or empty page) changes nothing.
    LoadResult takePage(const FetchResult &page);

    const QString &siteBase() const;
    const QString &hashedUrl() const;
    int songCount() const;                    // loaded rows, 0..Capacity
    const SongRecord &song(int slot) const;   // slot 0..Capacity-1; others throw std::out_of_range
    SongRecord &song(int slot);

private:
    QString m_siteBase;
    QString m_hashedUrl;
    std::vector<SongRecord> m_songTable;
    int m_songCount = 0;
};

} // namespace Lumisong
