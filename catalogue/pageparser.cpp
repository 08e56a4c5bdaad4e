#include "catalogue/pageparser.h"

#include "catalogue/arrayscanner.h"
#include "catalogue/catalogue.h"
#include "net/modgetcode.h"

namespace Lumisong {

ParsedPage parseCataloguePage(QStringView page)
{
    ParsedPage parsed;
    parsed.hashedUrl = textBetween(page, u"hashedurl:\"", u"\"");
    static constexpr QStringView ArrayStart = u"Data.Nlist.store = [";
    const qsizetype start = page.indexOf(ArrayStart);
    if (start < 0)
        parsed.songArray = ParsedPage::SongArray::Missing;
    else if (page.indexOf(u']', start + ArrayStart.size()) < 0)
        parsed.songArray = ParsedPage::SongArray::Unclosed;
    else
        parsed.songArray = ParsedPage::SongArray::Closed;
    const QString arrayText = textBetween(page, ArrayStart, u"]");
    ArrayScanner scanner(arrayText);
    for (;;) {
        const std::optional<QStringView> record = scanner.nextRecord();
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
    // One pass instead of seven marker searches: every marker ends in ":'", so
    // the first occurrence of a marker is at the first ":'" preceded by its key.
    // The value runs from there to the next "'", as textBetween cuts it.
    struct Field
    {
        QStringView key;
        QString SongRecord::*member;
    };
    static constexpr int FieldCount = 7;
    const Field fields[FieldCount] = {
        {u"sid", &SongRecord::songId},      {u"al", &SongRecord::album},
        {u"ti", &SongRecord::title},        {u"si", &SongRecord::singer},
        {u"da", &SongRecord::releaseDate},  {u"dl", &SongRecord::dailyDownloads},
        {u"tl", &SongRecord::totalDownloads},
    };
    SongRecord song;
    bool found[FieldCount] = {};
    int missing = FieldCount;
    const QChar *text = record.data();
    for (qsizetype quote = 1; quote < record.size() && missing > 0; ++quote) {
        if (text[quote] != u'\'' || text[quote - 1] != u':')
            continue;
        const qsizetype colon = quote - 1;
        for (int f = 0; f < FieldCount; ++f) {
            const QStringView key = fields[f].key;
            if (found[f] || colon < key.size() || record.sliced(colon - key.size(), key.size()) != key)
                continue;
            found[f] = true;
            --missing;
            const qsizetype end = record.indexOf(u'\'', quote + 1);
            if (end >= 0)
                song.*fields[f].member = record.sliced(quote + 1, end - quote - 1).toString();
        }
    }
    return song;
}

} // namespace Lumisong
