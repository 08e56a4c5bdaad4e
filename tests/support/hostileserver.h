#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include "tools/demosite/democatalogue.h"

class QTcpServer;
class QTcpSocket;

namespace Lumisong::Test {

// A small HTTP/1.1 server on 127.0.0.1, on the event loop of its thread, that
// misbehaves in one way: at the catalogue page itself, or at every address
// answer after a sound page. Its page lists songs whose address requests come
// back to it, so a whole list-file run can meet the fault in its middle.
class HostileServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HostileServer)

public:
    enum class Behaviour {
        EndlessChunk,   // a chunk's data that never ends with a line end (at most 256 MiB)
        GzipBomb,       // Content-Encoding gzip of a short body that decodes to 128 MiB
        ResetMidAnswer, // half the answer, no Content-Length, then a reset (RST)
        GzipChunked,    // the sound answer with "Transfer-Encoding: gzip, chunked"
        UnknownCoding,  // the sound answer with "Transfer-Encoding: x-unknown, chunked"
        Stall,          // reads the request, never answers
        ResetAtOnce,    // reads the request, then a reset before any status line
        BusyOnce,       // 503 with "Retry-After: 1" to the first request for each address
        RefuseTunnel,   // as a proxy: 407 to every request, CONNECT included
        ForbidTunnel,   // as a proxy: 403 to every request, CONNECT included
        Sound,          // no fault: the page and answers as set below
    };
    enum class Where { Page, Addresses };

    HostileServer(Behaviour behaviour, Where where, int songCount = 20, QObject *parent = nullptr);
    ~HostileServer() override;

    bool listen(); // any free port on 127.0.0.1
    quint16 port() const;
    QString baseUrl() const; // "http://127.0.0.1:<port>"
    const DemoCatalogue &catalogue() const { return m_catalogue; }

    // The page and every address answer are these bytes instead of the
    // catalogue's own (a null array: the catalogue's).
    void setPage(const QByteArray &body) { m_page = body; }
    void setAnswer(const QByteArray &body) { m_answer = body; }
    // Connections accepted and request heads read so far.
    int connections() const { return m_connections; }
    int requests() const { return m_requests; }

private:
    void onReadyRead(QTcpSocket *socket);
    QByteArray soundBody(const QByteArray &target) const;
    void misbehave(QTcpSocket *socket, const QByteArray &body);
    void sendEndless(QTcpSocket *socket);
    static void resetWhenSent(QTcpSocket *socket);

    QTcpServer *m_server;
    Behaviour m_behaviour;
    Where m_where;
    DemoCatalogue m_catalogue;
    QByteArray m_page;
    QByteArray m_answer;
    QList<QByteArray> m_busyTargets; // answered 503 once already
    int m_connections = 0;
    int m_requests = 0;
};

} // namespace Lumisong::Test
