#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include "tools/demosite/democatalogue.h"
#include "tools/demosite/scriptedanswer.h"

class QTcpServer;
class QTcpSocket;

namespace Lumisong {

// A small HTTP/1.1 server on 127.0.0.1 that plays the new-songs site: the GBK
// home page with the song array, an address answer for every hashedUrl + songId
// request, a small file at every address it hands out, the version page, and
// "/status" with its own counters. Song files answer ranges (If-Range with
// ETag or Last-Modified), as file servers do. Runs on the event loop of the thread that
// owns it, so a test can use it in process. Connections stay open for further
// requests unless the connection policy says otherwise; answers on one
// connection go out in the order of its requests.
class DemoSite final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemoSite)

public:
    static constexpr quint16 DefaultPort = 8642;

    enum class ConnectionPolicy {
        KeepAlive,            // a connection carries any number of requests
        CloseAfterAnswer,     // "Connection: close" on every answer: one request per connection
        CloseSilently,        // closes after every answer without saying so beforehand
        CloseOnSecondRequest, // answers one request per connection, then closes the
                              // connection without an answer when a second one comes
    };

    explicit DemoSite(int songCount = 150, QObject *parent = nullptr);
    ~DemoSite() override;

    // Port 0 takes any free port. False when the port cannot be had.
    bool listen(quint16 port = 0);
    void close();
    quint16 port() const;
    QString baseUrl() const;       // "http://127.0.0.1:<port>", no trailing slash
    QString hashedUrl() const;     // the prefix the home page announces
    // The request target (path and query) of a song's address request, as
    // setAnswer() and requestCount() take it.
    QString addressTarget(const QString &songId) const;
    QString versionUrl() const;    // the version page

    void setSongCount(int songCount);
    void setCatalogue(DemoCatalogue catalogue);
    const DemoCatalogue &catalogue() const;
    void setLatency(int milliseconds);        // added before every answer
    // Added once for each new connection, before its first answer: the round
    // trips of setting up a connection to a distant server.
    void setConnectDelay(int milliseconds);
    // Song files: their size in bytes (real MP3 data, SongFile::mp3), answers
    // cut after this many body bytes (-1: whole; each answer, ranges
    // included, declares its whole length), and their revision (another
    // revision is a changed file: new ETag and date).
    void setFileSize(qint64 bytes);
    void setCutAfter(qint64 bytes);
    void setFileRevision(int revision);
    void setConnectionPolicy(ConnectionPolicy policy);
    // On: the page sets a session cookie and address requests that do not send
    // it back are answered 403, as sites that tie addresses to a visit do.
    void setSessionCookieRequired(bool required);
    void setAnnouncedVersion(const QString &version);
    QString announcedVersion() const;

    // Scripted answers replace the site's own at exactly this request target
    // (path and query as sent, e.g. "/" or "/song/link?x=1").
    void setAnswer(const QString &target, const ScriptedAnswer &answer);
    void removeAnswer(const QString &target);
    void clearAnswers();

    int requestCount(const QString &target) const;
    int totalRequests() const;
    int connectionsAccepted() const;
    // Body bytes written to clients (answers cut short count what was sent).
    qint64 bodyBytesSent() const { return m_bodyBytes; }
    int openConnections() const;
    // At any one time since the last reset; a connection the client closed
    // counts as closed even if its close is seen just after the next connection.
    int mostConnectionsOpen() const;
    // Sets the request counts, connections accepted and bytes sent to 0 and the most
    // connections open to those open now.
    void resetCounters();
    // The counters as "/status" serves them, one "name: value" line each.
    QString statusText() const;

signals:
    // A whole request head arrived; its answer is yet to come.
    void requestReceived(const QString &target);

private:
    struct Connection
    {
        QByteArray received; // bytes of requests not yet taken
        int answered = 0;    // answers sent on it
        bool busy = false;   // an answer is under way (or never comes)
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void onDisconnected(QTcpSocket *socket);
    void takeNextRequest(QTcpSocket *socket);
    ScriptedAnswer answerFor(const QString &target, const QByteArray &head) const;
    void applySessionCookie(const QString &target, const QByteArray &head,
                            ScriptedAnswer *answer) const;
    void deliver(QTcpSocket *socket, const ScriptedAnswer &answer);

    QTcpServer *m_server;
    DemoCatalogue m_catalogue;
    QString m_version;
    QByteArray m_sessionCookie; // "name=value"; empty when not required
    int m_latencyMs = 0;
    int m_connectDelayMs = 0;
    qint64 m_fileSize = 0; // 0: SongFile::DefaultSize
    qint64 m_cutAfterBytes = -1;
    int m_fileRevision = 0;
    ConnectionPolicy m_policy = ConnectionPolicy::KeepAlive;
    QHash<QString, ScriptedAnswer> m_answers;
    QHash<QString, int> m_counts;
    int m_total = 0;
    QHash<QTcpSocket *, Connection> m_connections;
    int m_accepted = 0;
    qint64 m_bodyBytes = 0;
    int m_mostOpen = 0;
};

} // namespace Lumisong
