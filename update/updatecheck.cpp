#include "update/updatecheck.h"

#include <utility>

#include "net/modgetcode.h"
#include "net/pagerequest.h"
#include "update/updatelog.h"

namespace Lumisong {

UpdateCheck::UpdateCheck(UpdateCheckRequest request, QObject *parent)
    : QObject(parent), m_request(std::move(request))
{
}

UpdateCheck::~UpdateCheck() = default;

void UpdateCheck::start()
{
    if (m_page)
        return;
    m_page = fetchPage(m_request.updateUrl, QStringLiteral("gb2312"), this);
    connect(m_page, &PageRequest::finished, this, &UpdateCheck::onPage);
}

void UpdateCheck::abort()
{
    if (m_page && !m_page->isFinished())
        delete std::exchange(m_page, nullptr);
}

void UpdateCheck::onPage(const FetchResult &page)
{
    // A failed fetch is a page that did not arrive, like an empty one.
    const VersionPageReading reading = readFetchedVersionPage(page, m_request);
    emit finished(reading);
}

} // namespace Lumisong
