#pragma once

// The page parser's removal loop written out literally, one copy of the array
// text per record. Test and benchmark code only: it is the oracle the fast
// parser is checked against.

#include <QString>
#include <QStringView>

#include "catalogue/pageparser.h"
#include "net/modgetcode.h"

namespace Lumisong::Literal {

inline ParsedPage parsePage(QStringView page, qsizetype capacity = 1000)
{
    ParsedPage parsed;
    parsed.hashedUrl = textBetween(page, u"hashedurl:\"", u"\"");
    QString arrayText = textBetween(page, u"Data.Nlist.store = [", u"]");
    for (;;) {
        const QString record = textBetween(arrayText, u"{", u"}");
        if (record.isEmpty())
            break;
        if (parsed.songs.size() == capacity) {
            parsed.truncated = true;
            break;
        }
        SongRecord song;
        song.songId = textBetween(record, u"sid:'", u"'");
        song.album = textBetween(record, u"al:'", u"'");
        song.title = textBetween(record, u"ti:'", u"'");
        song.singer = textBetween(record, u"si:'", u"'");
        song.releaseDate = textBetween(record, u"da:'", u"'");
        song.dailyDownloads = textBetween(record, u"dl:'", u"'");
        song.totalDownloads = textBetween(record, u"tl:'", u"'");
        parsed.songs.append(song);
        // Every copy, in one pass from the start; the result is not searched again.
        arrayText.replace(QString(u'{' + record + u'}'), QString());
    }
    return parsed;
}

} // namespace Lumisong::Literal
