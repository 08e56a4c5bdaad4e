#include "net/pagerequest.h"

#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimerEvent>

#include <utility>

#include "net/connectionpool.h"
#include "net/httpconnection.h"
#include "net/modgetcode.h"
#include "net/netlog.h"

namespace Lumisong {

namespace {

// Every request, so that abortAll can reach them from any thread.
QMutex registryMutex;
QList<PageRequest *> registry;

} // namespace

PageRequest::PageRequest(QString url, QString charset, QObject *parent)
    : QObject(parent), m_address(std::move(url)), m_charset(std::move(charset))
{
    QMutexLocker lock(&registryMutex);
    registry.append(this);
}

PageRequest::~PageRequest()
{
    {
        QMutexLocker lock(&registryMutex);
        registry.removeOne(this);
    }
    if (m_ticket && m_pool)
        m_pool->cancel(m_ticket);
    giveBackConnection();
}

void PageRequest::abortAll()
{
    // Requests of this thread are aborted after the lock is given up: their
    // finished() handlers may end other requests, which leave the registry.
    QList<QPointer<PageRequest>> here;
    {
        QMutexLocker lock(&registryMutex);
        const QThread *current = QThread::currentThread();
        for (PageRequest *request : std::as_const(registry)) {
            if (request->thread() == current)
                here.append(request);
            else // dropped with the request if it ends first
                QMetaObject::invokeMethod(request, [request] { request->abort(); },
                                          Qt::QueuedConnection);
        }
    }
    for (const QPointer<PageRequest> &request : std::as_const(here)) {
        if (request)
            request->abort();
    }
}

void PageRequest::start()
{
    if (m_started)
        return;
    m_started = true;
    m_limits = fetchLimits();
    m_url = QUrl(m_address);
    m_totalTimer.start(m_limits.totalTimeoutMs, this);
    m_starting = true;
    sendHop();
    m_starting = false;
}

void PageRequest::abort(const QString &reason)
{
    m_started = true;
    fail(reason);
}

void PageRequest::sendHop()
{
    if (m_finished)
        return;
    QString error;
    m_route = HttpRoute::forUrl(m_url, &error);
    if (!m_route) {
        fail(error);
        return;
    }
    m_pool = ConnectionPool::forThisThread();
    // A request sent again goes on a new connection: the next idle one may
    // have been closed by the server as well.
    const quint64 ticket = m_pool->acquire(*m_route, m_retried,
                                           [this](HttpConnection *c) { onConnection(c); });
    if (ticket)
        m_ticket = ticket;
}

void PageRequest::onConnection(HttpConnection *connection)
{
    m_ticket = 0;
    if (!connection) {
        fail(QStringLiteral("the connections were closed"));
        return;
    }
    m_connection = connection;
    connect(connection, &HttpConnection::activity, this,
            [this] { m_idleTimer.start(m_limits.idleTimeoutMs, this); });
    connect(connection, &HttpConnection::answered, this, &PageRequest::onAnswered);
    connect(connection, &HttpConnection::failed, this, &PageRequest::onFailed);
    m_idleTimer.start(m_limits.idleTimeoutMs, this);
    connection->send(m_route->requestHead(m_url), m_limits.maxBodyBytes);
}

void PageRequest::onAnswered(const HttpAnswer &answer)
{
    m_idleTimer.stop();
    giveBackConnection();
    m_result.status = answer.status;
    if (answer.status >= 300 && answer.status < 400 && !answer.location.isEmpty()) {
        if (m_redirects >= m_limits.maxRedirects) {
            fail(QStringLiteral("more than %1 redirects").arg(m_limits.maxRedirects));
            return;
        }
        ++m_redirects;
        m_retried = false;
        m_url = m_url.resolved(QUrl::fromEncoded(answer.location.trimmed()));
        sendHop();
        return;
    }
    if (answer.status < 200 || answer.status > 299) {
        fail(QStringLiteral("HTTP status %1").arg(answer.status));
        return;
    }
    succeed(answer.status, answer.body);
}

void PageRequest::onFailed(const QString &reason, bool retryable)
{
    m_idleTimer.stop();
    giveBackConnection();
    if (retryable && !m_retried) {
        qCDebug(lcNet) << "kept-alive connection closed under" << m_url << "- sending again";
        m_retried = true;
        sendHop();
        return;
    }
    fail(reason);
}

void PageRequest::giveBackConnection()
{
    HttpConnection *connection = m_connection;
    m_connection = nullptr;
    if (!connection)
        return;
    connection->disconnect(this);
    if (connection->isBusy())
        connection->close(); // an answer half read cannot be resumed
    if (m_pool)
        m_pool->release(connection);
}

void PageRequest::succeed(int status, QByteArray body)
{
    FetchResult result{true, {}, {}, std::move(body), status};
    if (!result.body.isEmpty()) {
        std::optional<QString> text = decodeBytes(result.body, m_charset);
        if (!text) {
            fail(QStringLiteral("unknown character set: %1").arg(m_charset));
            return;
        }
        result.text = std::move(*text);
    }
    finish(std::move(result));
}

void PageRequest::fail(const QString &reason)
{
    if (m_starting) { // told from the event loop, never inside start()
        QMetaObject::invokeMethod(
            this, [this, reason] { fail(reason); }, Qt::QueuedConnection);
        return;
    }
    finish({false, {}, reason, {}, m_result.status});
}

void PageRequest::finish(FetchResult result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_idleTimer.stop();
    m_totalTimer.stop();
    if (m_ticket && m_pool)
        m_pool->cancel(m_ticket);
    m_ticket = 0;
    giveBackConnection();
    m_result = std::move(result);
    if (!m_result.ok)
        qCDebug(lcNet) << "request stopped:" << m_address << m_result.error;
    emit finished(m_result);
}

void PageRequest::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_idleTimer.timerId())
        fail(QStringLiteral("no data for %1 ms").arg(m_limits.idleTimeoutMs));
    else if (event->timerId() == m_totalTimer.timerId())
        fail(QStringLiteral("not finished within %1 ms").arg(m_limits.totalTimeoutMs));
    else
        QObject::timerEvent(event);
}

} // namespace Lumisong
