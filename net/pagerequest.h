#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
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
// waiting: started, it runs on the application's event loop and delivers its
// end by finished(). The body is decoded with the caller's charset, never the
// server's. Redirects are followed (to http and https only, never from https
// down to http) and the limits of FetchLimits, read at start(), apply to the
// whole request.
//
// Requests share kept-alive connections per site (HTTP/2
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
    // Before start(): a body larger than `bytes` fails the request, and
    // reading stops there; the fetch limits' own cap when not set.
    void setMaxBodyBytes(qint64 bytes) { m_maxBodyBytes = bytes; }
    // Before start(): the address stands for an https page, so an http
    // address is refused as a redirect from https down to http would be.
    void setSecureOrigin(bool secure) { m_secureOrigin = secure; }
    // Before start(): an answer 503 or 429 whose Retry-After is at most
    // `seconds` is waited for and asked once more, within the total time.
    void setRetryAfterLimit(int seconds) { m_retryAfterLimitS = seconds; }
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

signals:
    void finished(const Lumisong::FetchResult &result);

private:
    void sendHop();
    void sendAfter(int pauseMs);
    void onTransferDone(TransferOutcome outcome);
    bool sendAgain(const TransferOutcome &outcome);
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
    // A GET that went out on a kept-alive connection the server had closed
    // is sent again a few times, after a growing pause.
    int m_resends = 0;
    static constexpr int MaxResends = 2;
    static constexpr int ResendPauseMs = 100; // times the resends so far
    qint64 m_maxBodyBytes = -1;
    bool m_secureOrigin = false;
    int m_retryAfterLimitS = 0;
    bool m_waitedRetryAfter = false;
    QTimer m_pause;
    bool m_started = false;
    bool m_starting = false; // inside start(): failures wait for the event loop
    bool m_finished = false;
    bool m_aborted = false;
    QElapsedTimer m_clock;
    std::unique_ptr<CurlTransfer> m_transfer;
    FetchResult m_result;
};

} // namespace Lumisong
