#include "catalogue/addressresolver.h"

#include <utility>

#include "catalogue/addressanswer.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelog.h"
#include "net/pagerequest.h"

namespace Lumisong {

AddressResolver::AddressResolver(const Catalogue &catalogue, QObject *parent)
    : QObject(parent), m_catalogue(catalogue)
{
}

AddressResolver::~AddressResolver()
{
    abortAll();
}

bool AddressResolver::resolveAddress(int slot)
{
    if (slot < 0 || slot >= m_catalogue.songCount())
        return false;
    if (m_catalogue.hashedUrl().isEmpty()) {
        qCInfo(lcCatalogue) << "no address request prefix on the page";
        return false;
    }
    auto *request = new PageRequest(m_catalogue.hashedUrl() + m_catalogue.song(slot).songId,
                                    QStringLiteral("gb2312"), this);
    request->setMaxBodyBytes(MaxAddressAnswerBytes);
    // An https site's addresses are asked for over https only.
    request->setSecureOrigin(m_catalogue.siteBase().startsWith(u"https:"));
    request->setRetryAfterLimit(MaxRetryAfterSeconds);
    m_requests.append(request);
    connect(request, &PageRequest::finished, this,
            [this, request, slot](const FetchResult &answer) { onFinished(request, slot, answer); });
    request->start();
    return true;
}

void AddressResolver::abortAll()
{
    for (PageRequest *request : std::exchange(m_requests, {})) {
        request->disconnect(this);
        request->abort(); // gives its connection up at once
        request->deleteLater();
    }
}

void AddressResolver::onFinished(PageRequest *request, int slot, const FetchResult &answer)
{
    m_requests.removeOne(request);
    request->deleteLater();
    AddressResult result;
    result.slot = slot;
    result.multiplexed = answer.multiplexed;
    if (!answer.ok) {
        result.error = answer.error;
    } else if (const std::optional<QString> address = addressFromAnswer(answer.text, &result.error)) {
        result.ok = true;
        result.downloadUrl = m_catalogue.siteBase() + *address;
    }
    if (!result.ok)
        qCInfo(lcCatalogue) << "address of row" << slot + 1 << "not resolved:" << result.error;
    emit resolved(result);
}

} // namespace Lumisong
