#include "net/proxyrules.h"

#include <QList>

namespace Lumisong {

namespace {
const QByteArray LoopbackHosts = "127.0.0.0/8,::1,localhost";
}

QByteArray noProxyHosts()
{
    QByteArray given = qgetenv("no_proxy");
    if (given.isEmpty())
        given = qgetenv("NO_PROXY");
    // Curl takes "*" as "every host" only when it stands alone.
    for (const QByteArray &entry : given.split(',')) {
        if (entry.trimmed() == "*")
            return "*";
    }
    given = given.trimmed();
    return given.isEmpty() ? LoopbackHosts : given + QByteArray(",") + LoopbackHosts;
}

} // namespace Lumisong
