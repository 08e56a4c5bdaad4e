#include "catalogue/songaddress.h"

#include <QEventLoop>

#include <optional>

#include "catalogue/addressresolver.h"
#include "catalogue/catalogue.h"

namespace Lumisong {

void storeAddress(Catalogue &catalogue, int slot, const QString &downloadUrl)
{
    catalogue.song(slot).downloadUrl = downloadUrl;
}

bool resolveAndStoreAddress(Catalogue &catalogue, int slot)
{
    AddressResolver resolver(catalogue);
    QEventLoop loop;
    std::optional<AddressResult> answer;
    QObject::connect(&resolver, &AddressResolver::resolved, &loop,
                     [&](const AddressResult &result) {
                         answer = result;
                         loop.quit();
                     });
    if (!resolver.resolveAddress(slot))
        return false;
    loop.exec();
    // The wait also ends when the application quits; the resolver then drops its request.
    if (!answer || !answer->ok)
        return false;
    storeAddress(catalogue, slot, answer->downloadUrl);
    return true;
}

} // namespace Lumisong
