#include "cli/headlesslist.h"

#include "cli/songlisting.h"
#include "common/statustexts.h"

namespace Lumisong {

HeadlessList::HeadlessList(const QString &siteBase, bool json, std::FILE *out, std::FILE *err,
                           QObject *parent)
    : HeadlessCommand(parent), m_catalogue(siteBase), m_load(m_catalogue), m_json(json), m_out(out),
      m_err(err)
{
    connect(&m_load, &CatalogueLoad::finished, this, &HeadlessList::onLoaded);
}

HeadlessList::~HeadlessList() = default;

void HeadlessList::start()
{
    m_load.start();
}

void HeadlessList::onLoaded(const Catalogue::LoadResult &result)
{
    // A page without a whole song array is no catalogue, not an empty one.
    if (!result.arrived || !result.hasSongArray) {
        say(m_err, StatusText::catalogueMissing());
        emit finished(PageMissingExitCode);
        return;
    }
    const QByteArray listing =
        m_json ? SongListing::asJson(m_catalogue) : SongListing::asText(m_catalogue);
    const int status = print(m_out, listing, m_err, 0);
    // The listing itself stays as for any page; the note goes beside it.
    if (status == 0 && result.truncated)
        say(m_err, StatusText::catalogueLoaded(result.count, true));
    emit finished(status);
}

} // namespace Lumisong
