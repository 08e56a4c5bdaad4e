#include "catalogue/catalogueload.h"

#include <utility>

#include "net/modgetcode.h"
#include "net/pagerequest.h"

namespace Lumisong {

CatalogueLoad::CatalogueLoad(Catalogue &catalogue, QObject *parent)
    : QObject(parent), m_catalogue(catalogue)
{
}

CatalogueLoad::~CatalogueLoad() = default;

void CatalogueLoad::start()
{
    if (m_page)
        return;
    m_page = fetchPage(m_catalogue.pageAddress(), QStringLiteral("gb2312"), this);
    connect(m_page, &PageRequest::finished, this, [this](const FetchResult &page) {
        emit finished(m_catalogue.takePage(page));
    });
}

void CatalogueLoad::abort()
{
    if (m_page && !m_page->isFinished())
        delete std::exchange(m_page, nullptr);
}

} // namespace Lumisong
