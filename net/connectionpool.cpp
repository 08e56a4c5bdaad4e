#include "net/connectionpool.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <utility>

#include "net/fetchlimits.h"
#include "net/httpconnection.h"

namespace Lumisong {

namespace {

thread_local ConnectionPool *threadPool = nullptr;

void endMainThreadPool()
{
    ConnectionPool::shutDown();
}

int connectionLimit()
{
    return std::max(fetchLimits().connectionsPerSite, 1);
}

} // namespace

ConnectionPool *ConnectionPool::forThisThread()
{
    if (threadPool)
        return threadPool;
    threadPool = new ConnectionPool;
    QThread *thread = QThread::currentThread();
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == thread) {
        // Before the application object takes the event dispatcher away.
        qAddPostRoutine(endMainThreadPool);
    } else {
        connect(thread, &QThread::finished, threadPool, &ConnectionPool::shutDown,
                Qt::DirectConnection);
    }
    return threadPool;
}

void ConnectionPool::shutDown()
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (threadPool && app && app->thread() == QThread::currentThread())
        qRemovePostRoutine(endMainThreadPool);
    delete std::exchange(threadPool, nullptr);
}

ConnectionPool::~ConnectionPool()
{
    m_shuttingDown = true;
    // Whatever still waits or runs ends as failed instead of hanging.
    QList<Handler> waiting;
    for (Site &site : m_sites) {
        for (Waiter &waiter : site.waiting)
            waiting.append(std::move(waiter.handler));
    }
    m_sites.clear();
    for (const Handler &handler : std::as_const(waiting))
        handler(nullptr);
    for (HttpConnection *connection : findChildren<HttpConnection *>())
        connection->abandon(QStringLiteral("the connections were closed"));
}

quint64 ConnectionPool::acquire(const HttpRoute &route, bool fresh, Handler handler)
{
    if (m_shuttingDown) {
        handler(nullptr);
        return 0;
    }
    Site &site = m_sites[route.key()];
    if (site.waiting.isEmpty()) {
        if (HttpConnection *connection = take(site, route, fresh)) {
            handler(connection);
            return 0;
        }
    }
    const quint64 ticket = m_nextTicket++;
    site.waiting.append({ticket, route, fresh, std::move(handler)});
    return ticket;
}

void ConnectionPool::cancel(quint64 ticket)
{
    for (Site &site : m_sites) {
        const auto found = std::find_if(site.waiting.begin(), site.waiting.end(),
                                        [ticket](const Waiter &w) { return w.ticket == ticket; });
        if (found != site.waiting.end()) {
            site.waiting.erase(found);
            return;
        }
    }
}

void ConnectionPool::release(HttpConnection *connection)
{
    if (m_shuttingDown)
        return; // ends with the pool
    const auto found = m_sites.find(connection->route().key());
    if (found == m_sites.end()) {
        connection->close();
        connection->deleteLater();
        return;
    }
    if (connection->isReusable() && found->open <= connectionLimit())
        found->idle.append(connection);
    else
        drop(*found, connection);
    scheduleServe();
}

HttpConnection *ConnectionPool::take(Site &site, const HttpRoute &route, bool fresh)
{
    const int limit = connectionLimit();
    // After the limit was lowered, idle connections above it go first.
    while (site.open > limit && !site.idle.isEmpty())
        drop(site, site.idle.takeFirst());
    if (!fresh && !site.idle.isEmpty())
        return site.idle.takeLast();
    if (site.open >= limit && !site.idle.isEmpty())
        drop(site, site.idle.takeFirst()); // room for the fresh one
    if (site.open >= limit)
        return nullptr;
    auto *connection = new HttpConnection(route, this);
    connect(connection, &HttpConnection::closed, this,
            [this, connection] { onClosed(connection); });
    ++site.open;
    return connection;
}

void ConnectionPool::drop(Site &site, HttpConnection *connection)
{
    --site.open;
    connection->disconnect(this);
    connection->close();
    connection->deleteLater();
}

void ConnectionPool::onClosed(HttpConnection *connection)
{
    const auto found = m_sites.find(connection->route().key());
    if (found == m_sites.end() || !found->idle.removeOne(connection))
        return;
    drop(*found, connection);
    scheduleServe();
}

void ConnectionPool::scheduleServe()
{
    if (m_servePending)
        return;
    const bool anyWaiting = std::any_of(m_sites.cbegin(), m_sites.cend(),
                                        [](const Site &site) { return !site.waiting.isEmpty(); });
    if (!anyWaiting)
        return;
    m_servePending = true;
    QMetaObject::invokeMethod(this, &ConnectionPool::serveWaiting, Qt::QueuedConnection);
}

void ConnectionPool::serveWaiting()
{
    m_servePending = false;
    const QList<QString> keys = m_sites.keys();
    for (const QString &key : keys) {
        for (;;) {
            // Handlers may acquire and release: look the site up every time.
            const auto found = m_sites.find(key);
            if (found == m_sites.end() || found->waiting.isEmpty())
                break;
            const Waiter &first = found->waiting.constFirst();
            HttpConnection *connection = take(*found, first.route, first.fresh);
            if (!connection)
                break;
            const Waiter waiter = found->waiting.takeFirst();
            waiter.handler(connection);
        }
    }
    m_sites.removeIf([](const auto &entry) {
        return entry.value().open == 0 && entry.value().waiting.isEmpty();
    });
}

} // namespace Lumisong
