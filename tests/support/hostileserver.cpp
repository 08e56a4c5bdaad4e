#include "tests/support/hostileserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <sys/socket.h>
#include <zlib.h>

namespace Lumisong::Test {

namespace {

constexpr qint64 EndlessCap = qint64(256) << 20;
constexpr qint64 EndlessBuffered = 1 << 20;
const char SentCount[] = "lumisongSent";

QByteArray gzip(const QByteArray &data, qint64 zeroBytes = 0)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY); // +16: gzip wrapper
    QByteArray out;
    char buffer[64 * 1024];
    const auto pump = [&](const QByteArray &in, int flush) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
        stream.avail_in = uInt(in.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    const QByteArray zeros(1 << 20, '\0');
    for (qint64 done = 0; done < zeroBytes; done += zeros.size())
        pump(zeros, Z_NO_FLUSH);
    pump(data, Z_FINISH);
    deflateEnd(&stream);
    return out;
}

QByteArray chunk(const QByteArray &data)
{
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

} // namespace

HostileServer::HostileServer(Behaviour behaviour, Where where, int songCount, QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_behaviour(behaviour), m_where(where),
      m_catalogue(songCount)
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            ++m_connections;
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

HostileServer::~HostileServer() = default;

bool HostileServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 HostileServer::port() const
{
    return m_server->serverPort();
}

QString HostileServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

QByteArray HostileServer::soundBody(const QByteArray &target) const
{
    const QUrl url(QString::fromLatin1(target));
    if (url.path() == u"/" && !m_page.isNull())
        return m_page;
    if (url.path() != u"/" && !m_answer.isNull())
        return m_answer;
    if (url.path() == u"/")
        return DemoCatalogue::toGbk(m_catalogue.cataloguePage(baseUrl() + u"/song/link?sid="));
    const QString songId = QUrlQuery(url).queryItemValue(QStringLiteral("sid"));
    return DemoCatalogue::toGbk(DemoCatalogue::filePath(songId));
}

void HostileServer::onReadyRead(QTcpSocket *socket)
{
    // Requests on one connection are taken one by one; a hostile answer ends the
    // conversation, so only sound answers come before the next request.
    while (socket->canReadLine()) {
        QByteArray head = socket->property("head").toByteArray() + socket->readLine();
        socket->setProperty("head", head);
        if (!head.endsWith("\r\n\r\n"))
            continue;
        socket->setProperty("head", QByteArray());
        ++m_requests;
        const QByteArray target = head.split(' ').value(1);
        const QByteArray body = soundBody(target);
        bool hostile = (m_where == Where::Page) == (QUrl(QString::fromLatin1(target)).path() == u"/");
        if (m_behaviour == Behaviour::BusyOnce && hostile) {
            hostile = !m_busyTargets.contains(target);
            m_busyTargets.append(target);
        }
        if (m_behaviour == Behaviour::RefuseTunnel || m_behaviour == Behaviour::ForbidTunnel)
            hostile = true;
        if (hostile && m_behaviour != Behaviour::Sound) {
            misbehave(socket, body);
            return;
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gb2312\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
}

void HostileServer::misbehave(QTcpSocket *socket, const QByteArray &body)
{
    socket->disconnect(this); // nothing more is read from it
    const QByteArray status = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gb2312\r\n";
    switch (m_behaviour) {
    case Behaviour::EndlessChunk:
        socket->write(status + "Transfer-Encoding: chunked\r\n\r\n" + "10\r\n0123456789abcdef");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { sendEndless(socket); });
        sendEndless(socket);
        return;
    case Behaviour::GzipBomb: {
        static const QByteArray bomb = gzip(body, qint64(128) << 20);
        socket->write(status + "Content-Encoding: gzip\r\nContent-Length: "
                      + QByteArray::number(bomb.size()) + "\r\n\r\n" + bomb);
        return;
    }
    case Behaviour::ResetMidAnswer:
        socket->write(status + "\r\n" + body.left(body.size() / 2));
        resetWhenSent(socket);
        return;
    case Behaviour::GzipChunked:
        // A sound answer, but this socket reads no further requests: say so.
        socket->write(status + "Connection: close\r\nTransfer-Encoding: gzip, chunked\r\n\r\n"
                      + chunk(gzip(body)) + "0\r\n\r\n");
        socket->disconnectFromHost();
        return;
    case Behaviour::UnknownCoding:
        socket->write(status + "Transfer-Encoding: x-unknown, chunked\r\n\r\n" + chunk(body)
                      + "0\r\n\r\n");
        return;
    case Behaviour::Stall:
    case Behaviour::Sound:
        return;
    case Behaviour::ResetAtOnce: {
        const linger option{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option, sizeof option);
        socket->abort();
        return;
    }
    case Behaviour::BusyOnce:
        socket->write("HTTP/1.1 503 Service Unavailable\r\nRetry-After: 1\r\nContent-Length: 0\r\n\r\n");
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        return;
    case Behaviour::RefuseTunnel:
        socket->write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                      "Proxy-Authenticate: Basic realm=\"songs\"\r\nContent-Length: 0\r\n\r\n");
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        return;
    case Behaviour::ForbidTunnel:
        socket->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        return;
    }
}

void HostileServer::sendEndless(QTcpSocket *socket)
{
    // Bounded in flight and in all, so a client that keeps everything runs out
    // of time long before the machine runs out of memory.
    static const QByteArray block(64 * 1024, 'x');
    qint64 sent = socket->property(SentCount).toLongLong();
    while (socket->bytesToWrite() < EndlessBuffered && sent < EndlessCap) {
        socket->write(block);
        sent += block.size();
    }
    socket->setProperty(SentCount, sent);
}

void HostileServer::resetWhenSent(QTcpSocket *socket)
{
    // Once the half answer has left, and the client has had a moment to read
    // it, linger 0 turns the close into a reset: the client sees ECONNRESET.
    const auto reset = [socket] {
        if (socket->bytesToWrite() > 0)
            return;
        QTimer::singleShot(200, socket, [socket] {
            const linger option{1, 0};
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
                         sizeof option);
            socket->abort();
        });
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, reset);
}

} // namespace Lumisong::Test
