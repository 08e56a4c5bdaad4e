#pragma once

#include <QBasicTimer>
#include <QByteArray>
#include <QObject>
#include <QString>

#include "net/httpresponseparser.h"
#include "net/httproute.h"

class QTcpSocket;

namespace Lumisong {

// What a connection read in answer to one GET.
struct HttpAnswer
{
    int status = 0;
    QByteArray location; // the Location header, empty when none
    QByteArray body;
};

// One persistent HTTP/1.1 connection along a route, carrying one request at a
// time (no pipelining). It connects when the first request is sent and stays
// open between requests while the server allows; an idle connection closes
// itself after IdleLifetimeMs. Owned by the ConnectionPool.
class HttpConnection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HttpConnection)

public:
    static constexpr int IdleLifetimeMs = 60000;

    explicit HttpConnection(const HttpRoute &route, QObject *parent = nullptr);
    ~HttpConnection() override;

    const HttpRoute &route() const { return m_route; }
    bool isBusy() const { return m_busy; }
    // Idle, open, and the last answer let the connection carry another request.
    bool isReusable() const;

    // Sends a request head built by the route and reads the answer; connects
    // first when needed. Ends with answered() or failed(), never inside send().
    void send(const QByteArray &requestHead, qint64 maxBodyBytes);
    // Drops the connection at once; a request under way ends without a signal.
    void close();
    // Drops the connection; a request under way ends with failed(reason).
    void abandon(const QString &reason);

signals:
    void activity(); // bytes of the answer arrived
    void answered(const Lumisong::HttpAnswer &answer);
    // `retryable`: nothing (or a 408) came back on a connection that had
    // answered before, which is how a server's closing of a kept-alive
    // connection shows.
    void failed(const QString &reason, bool retryable);
    void closed(); // an idle connection ended (the server closed it, or it expired)

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void open();
    void onReady();
    void onReadyRead();
    void onSocketEnded();
    void finishExchange();

    HttpRoute m_route;
    QTcpSocket *m_socket = nullptr;
    bool m_ready = false;       // connected (and encrypted for https)
    bool m_busy = false;
    bool m_answeredBefore = false;
    bool m_reusable = false;
    bool m_ended = false;
    QByteArray m_pendingHead;   // written once the socket is ready
    HttpResponseParser m_parser;
    QBasicTimer m_idleExpiry;
};

} // namespace Lumisong
