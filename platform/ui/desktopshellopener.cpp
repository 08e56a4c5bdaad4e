#include "platform/ui/desktopshellopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace Lumisong {

bool DesktopShellOpener::openWebAddress(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace Lumisong
