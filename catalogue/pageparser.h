#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "catalogue/songrecord.h"

namespace Lumisong {

struct ParsedPage
{
    enum class SongArray {
        Missing,  // no "Data.Nlist.store = [" on the page
        Unclosed, // no "]" after it: the page ends inside the array
        Closed,
    };
    SongArray songArray = SongArray::Missing;
    QString hashedUrl;
    QList<SongRecord> songs;  // at most 1000, in page order
    bool truncated = false;   // the page held more than 1000 song objects
};

// Cuts hashedUrl and the song objects out of the new-songs page with marker
// searches only:
// - hashedUrl is the text between `hashedurl:"` and the next `"`;
// - the array text runs from "Data.Nlist.store = [" to the next "]";
// - repeatedly, the record is the text between the first "{" of what is left of
//   the array text and the next "}"; every copy of "{" + record + "}" is then
//   removed from the array text in one pass from the start; an empty record ends
//   the list;
// - each field is the text between its key marker ("sid:'", "al:'", ...) and the
//   next "'" within the record, searched over the whole record (any key order;
//   a missing key gives the empty text).
// Runs in time linear in the page for pages as the site writes them; the result
// equals that of the removal loop in every case.
ParsedPage parseCataloguePage(QStringView page);

// The fields of one record text (without its braces); downloadUrl stays empty.
SongRecord songFromRecordText(QStringView record);

} // namespace Lumisong
