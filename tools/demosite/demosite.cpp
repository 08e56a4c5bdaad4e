#include "tools/demosite/demosite.h"

#include "tools/demosite/songfile.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>

namespace Lumisong {

using namespace Qt::StringLiterals;

namespace {

constexpr char HashValue[] = "7c1f0e9ab24d";
constexpr qsizetype MaxRequestHead = 64 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 416: return "Range Not Satisfiable";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 403: return "Forbidden";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

ScriptedAnswer gbkText(int status, const QString &text, const QByteArray &type)
{
    ScriptedAnswer answer;
    answer.status = status;
    answer.headers = {{"Content-Type", type + "; charset=gb2312"}};
    answer.body = DemoCatalogue::toGbk(text);
    return answer;
}

} // namespace

DemoSite::DemoSite(int songCount, QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_catalogue(songCount),
      m_version(QStringLiteral(LUMISONG_VERSION_TEXT))
{
    connect(m_server, &QTcpServer::newConnection, this, &DemoSite::onNewConnection);
}

DemoSite::~DemoSite() = default;

bool DemoSite::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

void DemoSite::close()
{
    m_server->close();
}

quint16 DemoSite::port() const
{
    return m_server->serverPort();
}

QString DemoSite::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

QString DemoSite::hashedUrl() const
{
    return baseUrl() + u"/song/link?hash=" + QLatin1StringView(HashValue) + u"&sid=";
}

QString DemoSite::addressTarget(const QString &songId) const
{
    const QUrl url(hashedUrl() + songId);
    return url.path() + u'?' + url.query(QUrl::FullyEncoded);
}

QString DemoSite::versionUrl() const
{
    return baseUrl() + u"/version.html";
}

void DemoSite::setSongCount(int songCount)
{
    m_catalogue = DemoCatalogue(songCount);
}

void DemoSite::setCatalogue(DemoCatalogue catalogue)
{
    m_catalogue = std::move(catalogue);
}

const DemoCatalogue &DemoSite::catalogue() const
{
    return m_catalogue;
}

void DemoSite::setLatency(int milliseconds)
{
    m_latencyMs = milliseconds;
}

void DemoSite::setFileSize(qint64 bytes)
{
    m_fileSize = bytes;
}

void DemoSite::setCutAfter(qint64 bytes)
{
    m_cutAfterBytes = bytes;
}

void DemoSite::setFileRevision(int revision)
{
    m_fileRevision = revision;
}

void DemoSite::setConnectDelay(int milliseconds)
{
    m_connectDelayMs = milliseconds;
}

void DemoSite::setConnectionPolicy(ConnectionPolicy policy)
{
    m_policy = policy;
}

void DemoSite::setSessionCookieRequired(bool required)
{
    m_sessionCookie.clear();
    if (required)
        m_sessionCookie = "demo_session="
            + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
}

void DemoSite::setAnnouncedVersion(const QString &version)
{
    m_version = version;
}

QString DemoSite::announcedVersion() const
{
    return m_version;
}

void DemoSite::setAnswer(const QString &target, const ScriptedAnswer &answer)
{
    m_answers.insert(target, answer);
}

void DemoSite::removeAnswer(const QString &target)
{
    m_answers.remove(target);
}

void DemoSite::clearAnswers()
{
    m_answers.clear();
}

int DemoSite::requestCount(const QString &target) const
{
    return m_counts.value(target);
}

int DemoSite::totalRequests() const
{
    return m_total;
}

int DemoSite::connectionsAccepted() const
{
    return m_accepted;
}

int DemoSite::openConnections() const
{
    return int(m_connections.size());
}

int DemoSite::mostConnectionsOpen() const
{
    return m_mostOpen;
}

void DemoSite::resetCounters()
{
    m_counts.clear();
    m_total = 0;
    m_accepted = 0;
    m_bodyBytes = 0;
    m_mostOpen = openConnections();
}

QString DemoSite::statusText() const
{
    return QStringLiteral("requests: %1\nconnections accepted: %2\nconnections open: %3\n"
                          "most connections open at once: %4\n")
        .arg(m_total)
        .arg(m_accepted)
        .arg(openConnections())
        .arg(m_mostOpen);
}

void DemoSite::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_connections.insert(socket, Connection());
        ++m_accepted;
        // Counted once the loop has seen what else arrived with it: a client
        // that closes one connection and opens another has not had both open,
        // though the new one may be noticed before the close of the old.
        QMetaObject::invokeMethod(
            this, [this] { m_mostOpen = std::max(m_mostOpen, openConnections()); },
            Qt::QueuedConnection);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { onDisconnected(socket); });
    }
}

void DemoSite::onDisconnected(QTcpSocket *socket)
{
    if (m_connections.remove(socket))
        socket->deleteLater();
}

void DemoSite::onReadyRead(QTcpSocket *socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    found->received += socket->readAll();
    takeNextRequest(socket);
}

void DemoSite::takeNextRequest(QTcpSocket *socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end() || found->busy)
        return;
    QByteArray &received = found->received;
    const qsizetype end = received.indexOf("\r\n\r\n");
    if (end < 0) {
        if (received.size() > MaxRequestHead)
            socket->abort();
        return;
    }
    const QByteArray head = received.left(end);
    received.remove(0, end + 4); // a GET has no body
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1))
                                                   : QString();
    ++m_counts[target];
    ++m_total;
    const bool firstOnConnection = found->answered == 0;
    found->busy = true;
    emit requestReceived(target);
    // A handler may have run the event loop, in which the connection can end.
    if (!m_connections.contains(socket))
        return;
    if (m_policy == ConnectionPolicy::CloseOnSecondRequest && !firstOnConnection) {
        socket->disconnectFromHost();
        return;
    }
    ScriptedAnswer answer = answerFor(target, head);
    applySessionCookie(target, head, &answer);
    answer.latencyMs += m_latencyMs + (firstOnConnection ? m_connectDelayMs : 0);
    if (answer.latencyMs > 0)
        QTimer::singleShot(answer.latencyMs, socket, [this, socket, answer] { deliver(socket, answer); });
    else
        deliver(socket, answer);
}

ScriptedAnswer DemoSite::answerFor(const QString &target, const QByteArray &head) const
{
    if (const auto scripted = m_answers.constFind(target); scripted != m_answers.cend())
        return scripted.value();
    const QUrl url(target);
    const QString path = url.path();
    if (path == u"/")
        return gbkText(200, m_catalogue.cataloguePage(hashedUrl()), "text/html");
    if (path == u"/version.html")
        return gbkText(200, DemoCatalogue::versionPage(m_version), "text/html");
    if (path == u"/status")
        return gbkText(200, statusText(), "text/plain");
    if (path == u"/song/link") {
        const QUrlQuery query(url);
        const DemoCatalogue::Song *song = m_catalogue.findSong(query.queryItemValue(u"sid"_s));
        if (song && query.queryItemValue(u"hash"_s) == QLatin1StringView(HashValue))
            return gbkText(200, DemoCatalogue::filePath(song->songId), "text/plain");
    }
    if (path.startsWith(u"/files/") && path.endsWith(u".mp3")) {
        const QStringView songId = QStringView(path).sliced(7).chopped(4);
        if (const DemoCatalogue::Song *song = m_catalogue.findSong(songId)) {
            // A fixed date per revision: the file "changes" only with it.
            const QByteArray lastModified =
                "Tue, 01 Dec 2026 08:00:" + QByteArray::number(10 + m_fileRevision % 50) + " GMT";
            ScriptedAnswer file = SongFile::answer(
                m_catalogue.fileContent(*song, m_fileSize, m_fileRevision), head, lastModified);
            if (m_cutAfterBytes >= 0 && file.body.size() > m_cutAfterBytes)
                file.cutAfterBytes = m_cutAfterBytes;
            return file;
        }
    }
    return gbkText(404, QStringLiteral("<html><body>404 找不到网页</body></html>"), "text/html");
}

void DemoSite::applySessionCookie(const QString &target, const QByteArray &head,
                                  ScriptedAnswer *answer) const
{
    if (m_sessionCookie.isEmpty() || m_answers.contains(target))
        return;
    const QString path = QUrl(target).path();
    if (path == u"/") {
        answer->headers.append({"Set-Cookie", m_sessionCookie + "; Path=/; HttpOnly"});
        return;
    }
    if (path != u"/song/link")
        return;
    for (const QByteArray &line : head.split('\n')) {
        if (!line.toLower().startsWith("cookie:"))
            continue;
        for (const QByteArray &cookie : line.mid(7).split(';'))
            if (cookie.trimmed() == m_sessionCookie)
                return;
    }
    *answer = gbkText(403, QStringLiteral("<html><body>403 请先访问首页</body></html>"), "text/html");
}

void DemoSite::deliver(QTcpSocket *socket, const ScriptedAnswer &answer)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end() || answer.stall)
        return; // a stalled answer keeps the connection busy until the client gives up
    if (answer.closeWithoutAnswer) {
        socket->disconnectFromHost();
        return;
    }
    // A body that ends with the connection, or is cut off, closes it anyway.
    const bool framedByClose = !answer.sendContentLength || answer.cutAfterBytes >= 0;
    const bool announceClose = framedByClose || m_policy == ConnectionPolicy::CloseAfterAnswer;
    const bool close = announceClose || m_policy == ConnectionPolicy::CloseSilently;
    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + ' '
        + reasonPhrase(answer.status) + "\r\n";
    for (const auto &[name, value] : answer.headers)
        response += name + ": " + value + "\r\n";
    if (answer.sendContentLength)
        response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    if (announceClose)
        response += "Connection: close\r\n";
    response += "\r\n";
    const QByteArray body =
        answer.cutAfterBytes >= 0 ? answer.body.left(answer.cutAfterBytes) : answer.body;
    response += body;
    m_bodyBytes += body.size();
    socket->write(response);
    ++found->answered;
    found->busy = false;
    if (close) {
        socket->disconnectFromHost(); // after the buffered bytes are written
        return;
    }
    takeNextRequest(socket);
}

} // namespace Lumisong
