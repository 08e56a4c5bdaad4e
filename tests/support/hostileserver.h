#pragma once

#include <QByteArray>
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
    };
    enum class Where { Page, Addresses };

    HostileServer(Behaviour behaviour, Where where, int songCount = 20, QObject *parent = nullptr);
    ~HostileServer() override;

    bool listen(); // any free port on 127.0.0.1
    quint16 port() const;
    QString baseUrl() const; // "http://127.0.0.1:<port>"
    const DemoCatalogue &catalogue() const { return m_catalogue; }

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
};

} // namespace Lumisong::Test
