#include "menu/addresscopy.h"

#include "catalogue/catalogue.h"
#include "catalogue/songaddress.h"
#include "platform/ui/clipboard.h"

namespace Lumisong {

bool AddressCopy::copy(Catalogue &catalogue, int slot, Clipboard &clipboard)
{
    if (slot < 0 || slot >= catalogue.songCount())
        return false;
    if (catalogue.song(slot).downloadUrl.isEmpty() && !resolveAndStoreAddress(catalogue, slot))
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
