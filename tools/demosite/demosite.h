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
// request, a small file at every address it hands out, and the version page.
// Runs on the event loop of the thread that owns it, so a test can use it in
// process. Every connection answers one request and is then closed.
class DemoSite final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemoSite)

public:
    static constexpr quint16 DefaultPort = 8642;

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
    const DemoCatalogue &catalogue() const;
    void setLatency(int milliseconds);        // added before every answer
    void setAnnouncedVersion(const QString &version);
    QString announcedVersion() const;

    // Scripted answers replace the site's own at exactly this request target
    // (path and query as sent, e.g. "/" or "/song/link?x=1").
    void setAnswer(const QString &target, const ScriptedAnswer &answer);
    void removeAnswer(const QString &target);
    void clearAnswers();

    int requestCount(const QString &target) const;
    int totalRequests() const;
    void resetCounters();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    ScriptedAnswer answerFor(const QString &target) const;
    void deliver(QTcpSocket *socket, const ScriptedAnswer &answer);

    QTcpServer *m_server;
    DemoCatalogue m_catalogue;
    QString m_version;
    int m_latencyMs = 0;
    QHash<QString, ScriptedAnswer> m_answers;
    QHash<QString, int> m_counts;
    int m_total = 0;
};

} // namespace Lumisong
