#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

#include "net/bodysink.h"
#include "net/fetchlimits.h"
#include "net/fetchresult.h"
#include "net/requestbody.h"

namespace Lumisong {

class CurlTransfer;
struct TransferOutcome;

// One GET (or, with a body, POST) of an http or https address, without
// waiting: started, it runs on the event loop of its thread and delivers its
// end by finished(). The body is decoded with the caller's charset, never the
// server's. Redirects are followed (to http and https only, never from https
// down to http) and the limits of FetchLimits, read at start(), apply to the
// whole request.
//
// Requests of one thread share kept-alive connections per site (HTTP/2
// streams where the site offers them) and the cookies sites set.
class PageRequest final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageRequest)

public:
    PageRequest(QString url, QString charset, QObject *parent = nullptr);
    // A request still under way is dropped without a signal.
    ~PageRequest() override;

    // Before start(): sends body with a POST instead of a GET. A redirect
    // answer to a POST is its end, not followed.
    void setBody(RequestBody body);
    // Before start(): the body of the final 2xx answer goes to `sink` as it
    // arrives (bytes as the server keeps them, FetchLimits::maxFileBytes, no
    // total time limit, only the silence), and `headers` ("Name: value") go
    // with every hop. The result then holds no body.
    void streamTo(BodySink *sink, QList<QByteArray> headers);

    // Once. finished() follows later from the event loop, never inside start().
    void start();
    // Ends the request at once as failed, emitting finished() from inside this
    // call, unless it has finished already.
    void abort(const QString &reason = QStringLiteral("aborted"));

    bool isFinished() const { return m_finished; }
    const FetchResult &result() const { return m_result; }

    // Aborts every unfinished request of every thread: at once on the calling
    // thread, from the event loop on others.
    static void abortAll();

signals:
    void finished(const Lumisong::FetchResult &result);

private:
    void sendHop();
    void onTransferDone(TransferOutcome outcome);
    std::optional<QString> followRedirect(const QByteArray &location);
    void succeed(int status, QByteArray body, bool multiplexed);
    void fail(const QString &reason);
    void finish(FetchResult result);

    QString m_address;
    QString m_charset;
    std::optional<RequestBody> m_body;
    BodySink *m_sink = nullptr;
    QList<QByteArray> m_headers;
    FetchLimits m_limits;
    QUrl m_url; // of the current hop
    int m_redirects = 0;
    int m_resends = 0; // of a GET no connection carried to an answer
    static constexpr int MaxResends = 8;
    bool m_started = false;
    bool m_starting = false; // inside start(): failures wait for the event loop
    bool m_finished = false;
    bool m_aborted = false;
    QElapsedTimer m_clock;
    std::unique_ptr<CurlTransfer> m_transfer;
    FetchResult m_result;
};

} // namespace Lumisong
