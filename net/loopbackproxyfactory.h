#pragma once

#include <QNetworkProxyFactory>

namespace Lumisong {

// The system's proxy configuration, except that loopback hosts always go direct:
// a proxy cannot reach this machine's own servers, and tests must never be routed.
class LoopbackProxyFactory final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override;

    static bool isLoopbackHost(const QString &host);
};

} // namespace Lumisong
