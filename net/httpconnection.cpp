#include "net/httpconnection.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimerEvent>

#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

#include "net/netlog.h"

namespace Lumisong {

HttpConnection::HttpConnection(const HttpRoute &route, QObject *parent)
    : QObject(parent), m_route(route)
{
}

HttpConnection::~HttpConnection()
{
    if (m_socket)
        m_socket->abort();
}

bool HttpConnection::isReusable() const
{
    return !m_busy && !m_ended && m_ready && m_reusable;
}

void HttpConnection::send(const QByteArray &requestHead, qint64 maxBodyBytes)
{
    Q_ASSERT(!m_busy);
    m_idleExpiry.stop();
    m_busy = true;
    m_reusable = false;
    m_parser = HttpResponseParser(maxBodyBytes);
    if (m_ended) {
        // Reported from the event loop, as every other end is.
        QMetaObject::invokeMethod(this, &HttpConnection::onSocketEnded, Qt::QueuedConnection);
        return;
    }
    if (m_ready) {
        m_socket->write(requestHead);
        return;
    }
    m_pendingHead = requestHead;
    if (!m_socket)
        open();
}

void HttpConnection::open()
{
    if (m_route.isEncrypted()) {
#if QT_CONFIG(ssl)
        if (QSslSocket::supportsSsl()) {
            auto *socket = new QSslSocket(this);
            m_socket = socket;
            connect(socket, &QSslSocket::encrypted, this, &HttpConnection::onReady);
        }
#endif
        if (!m_socket) {
            m_ended = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!m_busy)
                        return;
                    m_busy = false;
                    emit failed(QStringLiteral("https is not available (no TLS library)"), false);
                },
                Qt::QueuedConnection);
            return;
        }
    } else {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &HttpConnection::onReady);
    }
    m_socket->setProxy(m_route.socketProxy());
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &HttpConnection::onSocketEnded);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnection::onSocketEnded);
#if QT_CONFIG(ssl)
    if (auto *ssl = qobject_cast<QSslSocket *>(m_socket)) {
        ssl->connectToHostEncrypted(m_route.connectHost(), m_route.connectPort());
        return;
    }
#endif
    m_socket->connectToHost(m_route.connectHost(), m_route.connectPort());
}

void HttpConnection::onReady()
{
    m_ready = true;
    // Small requests and answers: do not wait to fill a segment.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!m_pendingHead.isEmpty())
        m_socket->write(std::exchange(m_pendingHead, {}));
}

void HttpConnection::onReadyRead()
{
    const QByteArray bytes = m_socket->readAll();
    if (!m_busy) {
        // Nothing was asked: the connection no longer speaks HTTP in step.
        m_reusable = false;
        close();
        emit closed();
        return;
    }
    m_parser.feed(bytes);
    if (m_parser.state() == HttpResponseParser::State::Complete
        || m_parser.state() == HttpResponseParser::State::Failed) {
        finishExchange();
        return;
    }
    emit activity();
}

void HttpConnection::onSocketEnded()
{
    if (m_ended && !m_busy)
        return;
    const bool wasEnded = m_ended;
    m_ended = true;
    m_ready = false;
    if (!m_busy) {
        if (!wasEnded)
            emit closed();
        return;
    }
    // Bytes that came with the end are part of the answer.
    if (m_socket && m_socket->bytesAvailable() > 0)
        m_parser.feed(m_socket->readAll());
    if (m_parser.state() == HttpResponseParser::State::Head
        || m_parser.state() == HttpResponseParser::State::Body) {
        const QString socketError =
            m_socket && m_socket->error() != QAbstractSocket::RemoteHostClosedError
                ? m_socket->errorString()
                : QString();
        m_parser.endOfStream();
        if (m_parser.state() == HttpResponseParser::State::Failed && !socketError.isEmpty()
            && !m_parser.receivedAnything()) {
            m_busy = false;
            emit failed(socketError, m_answeredBefore);
            return;
        }
    }
    finishExchange();
}

void HttpConnection::finishExchange()
{
    m_busy = false;
    if (m_parser.state() == HttpResponseParser::State::Failed) {
        const bool retryable = m_answeredBefore && !m_parser.receivedAnything();
        m_reusable = false;
        qCDebug(lcNet) << "exchange failed on" << m_route.key() << m_parser.error();
        emit failed(m_parser.error(), retryable);
        return;
    }
    // Some servers say 408 on a kept-alive connection they are closing as the
    // request arrives: as good as closed without an answer.
    if (m_parser.status() == 408 && m_answeredBefore) {
        m_reusable = false;
        emit failed(QStringLiteral("HTTP status 408 on a kept-alive connection"), true);
        return;
    }
    m_answeredBefore = true;
    m_reusable = m_parser.reusable() && !m_ended;
    if (m_reusable)
        m_idleExpiry.start(IdleLifetimeMs, this);
    HttpAnswer answer{m_parser.status(), m_parser.header("location"), m_parser.takeBody()};
    emit answered(answer);
}

void HttpConnection::close()
{
    m_busy = false;
    m_reusable = false;
    m_ready = false;
    m_ended = true;
    m_idleExpiry.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void HttpConnection::abandon(const QString &reason)
{
    const bool wasBusy = m_busy;
    close();
    if (wasBusy)
        emit failed(reason, false);
}

void HttpConnection::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_idleExpiry.timerId())
        return QObject::timerEvent(event);
    m_idleExpiry.stop();
    if (m_busy)
        return;
    close();
    emit closed();
}

} // namespace Lumisong
