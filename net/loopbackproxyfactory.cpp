#include "net/loopbackproxyfactory.h"

#include <QHostAddress>

namespace Lumisong {

QList<QNetworkProxy> LoopbackProxyFactory::queryProxy(const QNetworkProxyQuery &query)
{
    if (isLoopbackHost(query.peerHostName()))
        return {QNetworkProxy(QNetworkProxy::NoProxy)};
    return systemProxyForQuery(query);
}

bool LoopbackProxyFactory::isLoopbackHost(const QString &host)
{
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0
        || host.endsWith(u".localhost", Qt::CaseInsensitive))
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace Lumisong
