#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/support/serverprocess.h"
#include "tests/support/testca.h"

namespace Lumisong::Test {

// nginx run unprivileged (-p PREFIX -c CONF, daemon off) with its
// configuration, pid, logs and temporary files in a folder of its own, on a
// free port: a front for a demo site, or a site that redirects every request.
// It leaves a system nginx alone. Addresses the demo site writes into its pages
// come out with the host, port and scheme the client asked this server by, so
// every request of a run comes back here.
class NginxRunner
{
public:
    struct Options
    {
        quint16 upstreamPort = 0;   // the demo site on 127.0.0.1, reached over HTTP/1.1 kept alive
        bool tls = true;            // https with HTTP/2 (ALPN); false: plain HTTP/1.1
        QString certificateFile;    // with tls
        QString keyFile;
        int keepaliveRequests = 1000; // requests per client connection, HTTP/2 streams included
        QString redirectTo;         // not empty: every request is answered 302 to this address
        QStringList listenHosts = {QStringLiteral("127.0.0.1"), QStringLiteral("[::1]")};
        // Not empty: "/files/..." is served from this folder's "files"
        // subfolder (ranges, ETag, no compression) instead of the demo site,
        // at most limitRate bytes per second per request (0: no limit).
        QString filesRoot;
        qint64 limitRate = 0;
    };

    // One line of the access log.
    struct Request
    {
        QString protocol;        // "HTTP/1.1", "HTTP/2.0"
        QString connection;      // nginx's connection serial number
        QString contentEncoding; // "gzip", or "-" when the answer was sent as it is
        QString target;          // path and query
        QString range;           // the request's Range header, "-" when none
        qint64 bytesSent = 0;    // body bytes sent
        int status = 0;
    };

    // https with HTTP/2 in front of the demo site on upstreamPort, with a leaf of ca.
    static Options tlsFront(quint16 upstreamPort, const TestCa &ca,
                            TestCa::Leaf leaf = TestCa::Leaf::Trusted);

    NginxRunner() = default;
    NginxRunner(const NginxRunner &) = delete;
    NginxRunner &operator=(const NginxRunner &) = delete;

    bool start(const Options &options, QString *error);
    void stop();
    quint16 port() const { return m_port; }
    // "https://HOST:PORT" (http without tls); host as in a URL, "[::1]" for IPv6.
    QString baseUrl(const QString &host = QStringLiteral("127.0.0.1")) const;

    // The requests served so far, in the order they ended.
    QList<Request> requests() const;
    // Distinct client connections in requests().
    int connectionsUsed() const;

private:
    QByteArray config(const Options &options) const;

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    bool m_tls = true;
    ServerProcess m_process;
};

} // namespace Lumisong::Test
