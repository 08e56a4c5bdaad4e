#include "platform/ui/shellopener.h"

#include <QUrl>

namespace Lumisong {

bool ShellOpener::open(const QUrl &url)
{
    return isWebAddress(url) && openWebAddress(url);
}

bool ShellOpener::isWebAddress(const QUrl &url)
{
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace Lumisong
