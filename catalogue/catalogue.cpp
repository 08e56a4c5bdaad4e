#include "catalogue/catalogue.h"

#include <algorithm>
#include <utility>

#include "catalogue/cataloguelog.h"
#include "catalogue/pageparser.h"
#include "net/fetchresult.h"

namespace Lumisong {

using namespace Qt::StringLiterals;

Catalogue::Catalogue(QString siteBase)
    : m_siteBase(std::move(siteBase)), m_songTable(Capacity)
{
}

QString Catalogue::pageAddress() const
{
    return m_siteBase + u'/';
}

Catalogue::LoadResult Catalogue::takePage(const FetchResult &page)
{
    if (!page.ok || page.text.isEmpty()) {
        qCInfo(lcCatalogue) << "new-songs page missing:" << (page.ok ? u"empty page"_s : page.error);
        return {};
    }
    ParsedPage parsed = parseCataloguePage(page.text);
    if (parsed.songArray == ParsedPage::SongArray::Missing)
        qCInfo(lcCatalogue) << "the new-songs page holds no song array";
    else if (parsed.songArray == ParsedPage::SongArray::Unclosed)
        qCInfo(lcCatalogue) << "the new-songs page ends inside its song array: it is not closed";
    m_hashedUrl = parsed.hashedUrl;
    std::fill(m_songTable.begin(), m_songTable.end(), SongRecord());
    std::move(parsed.songs.begin(), parsed.songs.end(), m_songTable.begin());
    m_songCount = int(parsed.songs.size());
    return {true, m_songCount, parsed.truncated, parsed.songArray == ParsedPage::SongArray::Closed};
}

const QString &Catalogue::siteBase() const
{
    return m_siteBase;
}

const QString &Catalogue::hashedUrl() const
{
    return m_hashedUrl;
}

int Catalogue::songCount() const
{
    return m_songCount;
}

const SongRecord &Catalogue::song(int slot) const
{
    return m_songTable.at(std::size_t(slot));
}

SongRecord &Catalogue::song(int slot)
{
    return m_songTable.at(std::size_t(slot));
}

} // namespace Lumisong
