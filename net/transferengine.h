#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <unordered_map>
#include <utility>
#include <vector>

#include "net/curlhandles.h"

class QSocketNotifier;

namespace Lumisong {

// Told by the engine when its transfer ends. The engine has let go of the
// transfer's handle by then, so the client may start it again or end it.
class TransferClient
{
public:
    // failure: curl's words when the engine itself failed (code is then
    // CURLE_ABORTED_BY_CALLBACK); empty when the transfer ran its course.
    virtual void transferDone(CURLcode code, const QString &failure) = 0;

protected:
    ~TransferClient() = default;
};

// libcurl's multi interface on the event loop of the application's thread,
// the only thread that fetches: a socket notifier per socket curl watches and
// one timer for curl's timeouts, no polling. Transfers share connections
// (kept alive, HTTP/2 streams) and cookies, which live in memory only.
class TransferEngine final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TransferEngine)

public:
    // The engine, made on first use.
    static TransferEngine *instance();
    // The engine if there is one; null after shutDown().
    static TransferEngine *existing();
    // Ends the engine, and with it its connections and cookies; transfers
    // still attached are told CURLE_ABORTED_BY_CALLBACK.
    static void shutDown();

    // Hands the transfer to curl; transferDone() follows from the event loop.
    // False with curl's words in *error when curl does not take it.
    bool attach(CURL *easy, TransferClient *client, QString *error);
    // Takes the transfer back without telling its client. False when curl
    // kept the handle: it must not be used again.
    bool detach(CURL *easy);

    // Handles of ended transfers, set up as `setUp` names, wait here for the
    // next transfer set up alike: making and setting up one for every
    // request costs as much as a quarter of the request. Null when none waits.
    CurlEasy takeIdle(const QByteArray &setUp);
    void keepIdle(CurlEasy easy, QByteArray setUp);

private:
    TransferEngine();
    ~TransferEngine() override;

    static int onSocket(CURL *easy, curl_socket_t socket, int what, void *engine, void *);
    static int onTimer(CURLM *multi, long timeoutMs, void *engine);
    void watch(curl_socket_t socket, int what);
    void act(curl_socket_t socket, int events);
    void deliverFinished();
    void failAll(const QString &failure);
    QString applyLimits();

    struct SocketWatch
    {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    CurlShare m_share;
    CurlMulti m_multi;
    QString m_setupFailure; // curl's words when the engine could not be set up
    QTimer m_timer;
    std::unordered_map<curl_socket_t, SocketWatch> m_sockets;
    std::unordered_map<CURL *, TransferClient *> m_clients;
    std::vector<std::pair<QByteArray, CurlEasy>> m_idle;
    long m_hostConnections = -1;
    long m_streams = -1;
};

} // namespace Lumisong
