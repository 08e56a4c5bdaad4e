#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <optional>

#include "net/fetchlimits.h"
#include "net/fetchresult.h"
#include "net/httproute.h"

namespace Lumisong {

class ConnectionPool;
class HttpConnection;
struct HttpAnswer;

// One GET of an http or https address, without waiting: started, it runs on
// the event loop of its thread and delivers its end by finished(). The body is
// decoded with the caller's charset, never the server's. Redirects are
// followed (http and https only) and the limits of FetchLimits, read at
// start(), apply to the whole request.
//
// Requests of one thread share kept-alive connections per site. When a
// kept-alive connection turns out closed before any byte of the answer came,
// the request is sent once more on a new connection; never otherwise.
class PageRequest final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageRequest)

public:
    PageRequest(QString url, QString charset, QObject *parent = nullptr);
    // A request still under way is dropped without a signal.
    ~PageRequest() override;

    // Once. finished() follows later from the event loop, never inside start().
    void start();
    // Ends the request at once as failed, emitting finished() from inside this
    // call, unless it has finished already.
    void abort(const QString &reason = QStringLiteral("aborted"));

    bool isFinished() const { return m_finished; }
    const FetchResult &result() const { return m_result; }

    // Aborts every unfinished request of every thread: at once on the calling
    // thread, from the event loop on others.
    static void abortAll();

signals:
    void finished(const Lumisong::FetchResult &result);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void sendHop();
    void onConnection(HttpConnection *connection);
    void onAnswered(const HttpAnswer &answer);
    void onFailed(const QString &reason, bool retryable);
    void giveBackConnection();
    void succeed(int status, QByteArray body);
    void fail(const QString &reason);
    void finish(FetchResult result);

    QString m_address;
    QString m_charset;
    FetchLimits m_limits;
    QUrl m_url; // of the current hop
    std::optional<HttpRoute> m_route;
    int m_redirects = 0;
    bool m_retried = false; // the current hop was sent again
    bool m_started = false;
    bool m_starting = false; // inside start(): failures wait for the event loop
    bool m_finished = false;
    QPointer<ConnectionPool> m_pool;
    QPointer<HttpConnection> m_connection;
    quint64 m_ticket = 0; // waiting for a connection
    QBasicTimer m_idleTimer;
    QBasicTimer m_totalTimer;
    FetchResult m_result;
};

} // namespace Lumisong
