#include "net/httproute.h"

#include <QNetworkProxyQuery>

#include "net/loopbackproxyfactory.h"

namespace Lumisong {

namespace {

QByteArray hostHeader(const QUrl &url, bool encrypted)
{
    const QString host = url.host();
    QByteArray value = host.contains(u':') ? '[' + host.toLatin1() + ']' : QUrl::toAce(host);
    const int port = url.port();
    if (port != -1 && port != (encrypted ? 443 : 80))
        value += ':' + QByteArray::number(port);
    return value;
}

} // namespace

std::optional<HttpRoute> HttpRoute::forUrl(const QUrl &url, QString *error)
{
    const bool encrypted = url.scheme() == u"https";
    if (!url.isValid() || !(encrypted || url.scheme() == u"http") || url.host().isEmpty()) {
        *error = QStringLiteral("not an http or https address: %1").arg(url.toString());
        return std::nullopt;
    }
    HttpRoute route;
    route.m_encrypted = encrypted;
    const quint16 sitePort = quint16(url.port(encrypted ? 443 : 80));
    route.m_connectHost = url.host(QUrl::FullyEncoded);
    route.m_connectPort = sitePort;

    LoopbackProxyFactory factory;
    const QList<QNetworkProxy> proxies = factory.queryProxy(QNetworkProxyQuery(url));
    const QNetworkProxy proxy = proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy)
                                                  : proxies.first();
    switch (proxy.type()) {
    case QNetworkProxy::NoProxy:
    case QNetworkProxy::DefaultProxy:
        break;
    case QNetworkProxy::HttpProxy:
    case QNetworkProxy::HttpCachingProxy:
        if (!encrypted) {
            // Plain http goes to the proxy, which fetches the whole address.
            route.m_forwardToProxy = true;
            route.m_connectHost = proxy.hostName();
            route.m_connectPort = proxy.port();
            if (!proxy.user().isEmpty())
                route.m_proxyAuthorization =
                    "Basic " + (proxy.user() + u':' + proxy.password()).toUtf8().toBase64();
        } else {
            // https is tunnelled through the proxy (CONNECT) by the socket.
            route.m_socketProxy = proxy;
            route.m_socketProxy.setType(QNetworkProxy::HttpProxy);
        }
        break;
    case QNetworkProxy::Socks5Proxy:
        route.m_socketProxy = proxy;
        break;
    case QNetworkProxy::FtpCachingProxy:
        *error = QStringLiteral("the system proxy for %1 is an FTP proxy").arg(url.host());
        return std::nullopt;
    }
    route.m_key = url.scheme() + u"://" + url.host(QUrl::FullyEncoded) + u':'
                  + QString::number(sitePort) + u'|' + QString::number(int(proxy.type())) + u'|'
                  + proxy.hostName() + u':' + QString::number(proxy.port()) + u'|' + proxy.user();
    return route;
}

QByteArray HttpRoute::requestHead(const QUrl &url) const
{
    // The request target as Qt's own HTTP client writes it.
    QUrl target = url;
    QUrl::FormattingOptions format(QUrl::RemoveFragment | QUrl::RemoveUserInfo | QUrl::FullyEncoded);
    if (!m_forwardToProxy)
        format |= QUrl::RemoveScheme | QUrl::RemoveAuthority;
    if (target.path().isEmpty())
        target.setPath(QStringLiteral("/"));
    else
        format |= QUrl::NormalizePathSegments;

    QByteArray head;
    head.reserve(256);
    head += "GET " + target.toEncoded(format) + " HTTP/1.1\r\nHost: "
            + hostHeader(url, m_encrypted)
            + "\r\nUser-Agent: Mozilla/5.0\r\nAccept: */*\r\nConnection: keep-alive\r\n";
    if (!m_proxyAuthorization.isEmpty())
        head += "Proxy-Authorization: " + m_proxyAuthorization + "\r\n";
    head += "\r\n";
    return head;
}

} // namespace Lumisong
