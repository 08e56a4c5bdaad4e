#include "menu/addresscopy.h"

#include <QEventLoop>

#include <optional>

#include "catalogue/addressresolver.h"
#include "catalogue/catalogue.h"
#include "platform/ui/clipboard.h"

namespace Lumisong {

namespace {

// Asks for the slot's address and waits for the answer with the event loop
// running, as every command of the window does; stores it in the song.
bool resolveAndWait(Catalogue &catalogue, int slot)
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
    catalogue.song(slot).downloadUrl = answer->downloadUrl;
    return true;
}

} // namespace

bool AddressCopy::copy(Catalogue &catalogue, int slot, Clipboard &clipboard)
{
    if (slot < 0 || slot >= catalogue.songCount())
        return false;
    if (catalogue.song(slot).downloadUrl.isEmpty() && !resolveAndWait(catalogue, slot))
        return false;
    // Read after the request: the slot's value may have been refreshed meanwhile.
    const QString address = catalogue.song(slot).downloadUrl;
    clipboard.clear();
    clipboard.setText(address);
    return true;
}

QString AddressCopy::failureText()
{
    return QStringLiteral("获取下载地址失败，请检查网络...");
}

} // namespace Lumisong
