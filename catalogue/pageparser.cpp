#include "catalogue/pageparser.h"

#include "catalogue/arrayscanner.h"
#include "catalogue/catalogue.h"
#include "net/modgetcode.h"

namespace Lumisong {

ParsedPage parseCataloguePage(QStringView page)
{
    ParsedPage parsed;
    parsed.hashedUrl = textBetween(page, u"hashedurl:\"", u"\"");
    const QString arrayText = textBetween(page, u"Data.Nlist.store = [", u"]");
    ArrayScanner scanner(arrayText);
    for (;;) {
        const std::optional<QString> record = scanner.nextRecord();
        if (!record)
            break;
        if (parsed.songs.size() == Catalogue::Capacity) {
            parsed.truncated = true;
            break;
        }
        parsed.songs.append(songFromRecordText(*record));
    }
    return parsed;
}

SongRecord songFromRecordText(QStringView record)
{
    SongRecord song;
    song.songId = textBetween(record, u"sid:'", u"'");
    song.album = textBetween(record, u"al:'", u"'");
    song.title = textBetween(record, u"ti:'", u"'");
    song.singer = textBetween(record, u"si:'", u"'");
    song.releaseDate = textBetween(record, u"da:'", u"'");
    song.dailyDownloads = textBetween(record, u"dl:'", u"'");
    song.totalDownloads = textBetween(record, u"tl:'", u"'");
    return song;
}

} // namespace Lumisong
