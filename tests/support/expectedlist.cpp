#include "tests/support/expectedlist.h"

#include "tools/demosite/democatalogue.h"

namespace Lumisong::Test {

QByteArray expectedListFile(const DemoCatalogue &catalogue, const QString &siteBase)
{
    QByteArray bytes;
    for (const DemoCatalogue::Song &song : catalogue.songs())
        bytes += (siteBase + DemoCatalogue::filePath(song.songId)).toLatin1() + "\r\n";
    return bytes + "//By Tolvane\r\n";
}

} // namespace Lumisong::Test
