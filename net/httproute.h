#pragma once

#include <QByteArray>
#include <QNetworkProxy>
#include <QString>
#include <QUrl>

#include <optional>

namespace Lumisong {

// Where the requests for an address travel: the site (scheme, host, port) and
// the proxy that reaches it, chosen by LoopbackProxyFactory (the system's
// proxies; loopback always direct). Requests with equal keys may share
// connections.
class HttpRoute
{
public:
    // nullopt with *error set: not an http(s) address with a host, or a proxy
    // of a kind this client cannot use.
    static std::optional<HttpRoute> forUrl(const QUrl &url, QString *error);

    const QString &key() const { return m_key; }
    bool isEncrypted() const { return m_encrypted; }
    // The host and port a socket connects to, and the proxy it is given.
    const QString &connectHost() const { return m_connectHost; }
    quint16 connectPort() const { return m_connectPort; }
    const QNetworkProxy &socketProxy() const { return m_socketProxy; }

    // "GET <target> HTTP/1.1" and the header lines of a request for url, which
    // must lead along this route.
    QByteArray requestHead(const QUrl &url) const;

private:
    HttpRoute() = default;

    QString m_key;
    bool m_encrypted = false;
    QString m_connectHost;
    quint16 m_connectPort = 0;
    QNetworkProxy m_socketProxy{QNetworkProxy::NoProxy};
    // Plain http through an HTTP proxy: the request names the whole address.
    bool m_forwardToProxy = false;
    QByteArray m_proxyAuthorization;
};

} // namespace Lumisong
