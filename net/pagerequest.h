#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include "net/fetchlimits.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace Lumisong {

// One GET, redirects included, run to its end in a nested event loop under the
// limits it was given. Used by fetchPage only; one object per fetch.
class PageRequest final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageRequest)

public:
    struct Outcome
    {
        bool ok = false;
        QByteArray body;
        QString error;
    };

    PageRequest(QNetworkAccessManager *manager, const FetchLimits &limits);
    ~PageRequest() override;

    Outcome run(const QUrl &url);

    // Ends the pending wait of every PageRequest of every thread as failed.
    static void abortAll();

private:
    enum class Hop { Done, Redirect };

    void send(const QUrl &url);
    Hop finishHop(QUrl *redirectTarget);
    void stop(const QString &reason);
    void onMetaDataChanged();
    void onReadyRead();
    void onFinished();
    void restartIdleTimer();

    QNetworkAccessManager *m_manager;
    FetchLimits m_limits;
    QNetworkReply *m_reply = nullptr;
    QEventLoop m_loop;
    QTimer m_idleTimer;
    QTimer m_totalTimer;
    QByteArray m_body;
    QString m_failure;   // set once the request is given up; wins over the reply's own state
    bool m_hopFinished = false;
};

} // namespace Lumisong
