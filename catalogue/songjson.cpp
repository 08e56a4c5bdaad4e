#include "catalogue/songjson.h"

#include <iterator>
#include <utility>

#include "platform/jsontext.h"

namespace Lumisong::SongJson {

void appendFields(QString &out, const SongRecord &song)
{
    const std::pair<QStringView, const QString *> members[] = {
        {u"songId", &song.songId},
        {u"releaseDate", &song.releaseDate},
        {u"title", &song.title},
        {u"singer", &song.singer},
        {u"album", &song.album},
        {u"dailyDownloads", &song.dailyDownloads},
        {u"totalDownloads", &song.totalDownloads},
    };
    for (size_t i = 0; i < std::size(members); ++i) {
        if (i > 0)
            out += u", ";
        JsonText::appendMember(out, members[i].first, *members[i].second);
    }
}

} // namespace Lumisong::SongJson
