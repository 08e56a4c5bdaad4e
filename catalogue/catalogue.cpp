#include "catalogue/catalogue.h"

#include <algorithm>
#include <utility>

#include "catalogue/addressanswer.h"
#include "catalogue/cataloguelog.h"
#include "catalogue/pageparser.h"
#include "net/modgetcode.h"

namespace Lumisong {

using namespace Qt::StringLiterals;

Catalogue::Catalogue(QString siteBase)
    : m_siteBase(std::move(siteBase)), m_songTable(Capacity)
{
}

Catalogue::LoadResult Catalogue::loadCatalogue()
{
    const FetchResult page = fetchPage(m_siteBase + u'/', QStringLiteral("gb2312"));
    if (!page.ok || page.text.isEmpty()) {
        qCInfo(lcCatalogue) << "new-songs page missing:" << (page.ok ? u"empty page"_s : page.error);
        return {};
    }
    ParsedPage parsed = parseCataloguePage(page.text);
    m_hashedUrl = parsed.hashedUrl;
    std::fill(m_songTable.begin(), m_songTable.end(), SongRecord());
    std::move(parsed.songs.begin(), parsed.songs.end(), m_songTable.begin());
    m_songCount = int(parsed.songs.size());
    return {true, m_songCount, parsed.truncated};
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

bool Catalogue::resolveAddress(int slot)
{
    if (slot < 0 || slot >= m_songCount)
        return false;
    // Without the page's prefix the request would go to the bare song id,
    // which is no address.
    if (m_hashedUrl.isEmpty()) {
        qCInfo(lcCatalogue) << "no address request prefix on the page";
        return false;
    }
    const QString request = m_hashedUrl + m_songTable[std::size_t(slot)].songId;
    const FetchResult answer = fetchPage(request, QStringLiteral("gb2312"));
    if (!answer.ok) {
        qCInfo(lcCatalogue) << "address request failed:" << request << answer.error;
        return false;
    }
    const std::optional<QString> address = addressFromAnswer(answer.text);
    if (!address) {
        qCInfo(lcCatalogue) << "address answer is no address:" << request;
        return false;
    }
    m_songTable[std::size_t(slot)].downloadUrl = m_siteBase + *address;
    return true;
}

} // namespace Lumisong
