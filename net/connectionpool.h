#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

#include "net/httproute.h"

namespace Lumisong {

class HttpConnection;

// The kept-alive connections of one thread, shared by every request of that
// thread, with at most FetchLimits::connectionsPerSite open along one route at
// a time (idle ones included). A request is handed an idle connection first,
// else a new one while the route has room, else it waits for one in turn.
class ConnectionPool final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionPool)

public:
    using Handler = std::function<void(HttpConnection *)>;

    // The calling thread's pool, made on first use. It ends with the thread
    // (with the application object, for the main thread) or on shutDown().
    static ConnectionPool *forThisThread();
    // Closes every connection of the calling thread and ends its pool; a later
    // request starts a new one.
    static void shutDown();

    // Hands a connection along `route` to `handler`: at once (inside this call)
    // when one is free, else later. `fresh`: a new connection, never an idle
    // one. Returns 0 when handed at once, else a ticket for cancel().
    quint64 acquire(const HttpRoute &route, bool fresh, Handler handler);
    void cancel(quint64 ticket);
    // Takes back a connection handed out: kept for the next request when it
    // is reusable and the route has room, closed otherwise.
    void release(HttpConnection *connection);

private:
    struct Waiter
    {
        quint64 ticket;
        HttpRoute route;
        bool fresh;
        Handler handler;
    };
    struct Site
    {
        QList<HttpConnection *> idle; // most recently used last
        int open = 0;                 // idle and handed out
        QList<Waiter> waiting;
    };

    ConnectionPool() = default;
    ~ConnectionPool() override;

    // A connection for the site now, or null when the site has no room.
    HttpConnection *take(Site &site, const HttpRoute &route, bool fresh);
    void drop(Site &site, HttpConnection *connection);
    void onClosed(HttpConnection *connection);
    void scheduleServe();
    void serveWaiting();

    QHash<QString, Site> m_sites;
    quint64 m_nextTicket = 1;
    bool m_servePending = false;
    bool m_shuttingDown = false;
};

} // namespace Lumisong
