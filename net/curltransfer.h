#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

#include "net/bodysink.h"
#include "net/curlhandles.h"
#include "net/fetchlimits.h"
#include "net/requestbody.h"
#include "net/transferengine.h"

namespace Lumisong {

// What one exchange with a server gave.
struct TransferOutcome
{
    bool completed = false;   // an answer was read whole; false: error says why
    int status = 0;           // HTTP status of the answer, 0 when none was read
    QByteArray body;          // decoded from its content coding
    QString error;            // curl's words, or the limit that was met
    QByteArray redirectTo;    // the absolute Location of a redirect answer
    bool multiplexed = false; // came over a connection that carries requests side by side
    // The connection broke before any status line came, also after curl's
    // own tries on other connections (a server that ends its connections
    // after a few requests turns the streams beyond away, HTTP/2 GOAWAY).
    bool unanswered = false;
    // Every try went over a kept-alive connection: no new one was opened.
    bool reused = false;
    // The request went out, but no answer came in time: the server may have
    // acted on it.
    bool late = false;
    int retryAfterSeconds = 0; // the answer's Retry-After; 0 when none
    bool refusedBySink = false; // the BodySink ended it
};

// One HTTP exchange on curl: no redirect followed, every content coding curl
// knows offered and decoded, the body capped after decoding, proxies as curl
// reads them from the environment (this machine's own servers always
// direct), TLS verified against the system's store or SSL_CERT_FILE.
class CurlTransfer final : private TransferClient
{
public:
    using Done = std::function<void(TransferOutcome)>;

    explicit CurlTransfer(Done done);
    ~CurlTransfer(); // a transfer under way ends without a word
    CurlTransfer(const CurlTransfer &) = delete;
    CurlTransfer &operator=(const CurlTransfer &) = delete;

    // Starts the exchange; done follows from the event loop. False with
    // curl's words in *error when curl cannot take it; the next start then
    // sets the exchange up afresh. A later start (the next hop of a
    // redirect, a request sent again) keeps the limits and body of the first
    // and takes the new address and time left.
    bool start(const QByteArray &url, const FetchLimits &limits, int timeoutMs,
               const RequestBody *body, QString *error);
    // Ends the exchange under way at once, without a word.
    void cancel();
    // Before the first start(): the body of a 2xx answer goes to `sink` (as
    // it is, no content coding asked for, capped by maxFileBytes, no total
    // time limit), and `headers` ("Name: value") go with every request.
    void streamTo(BodySink *sink, QList<QByteArray> headers);

private:
    static size_t onBody(char *data, size_t size, size_t count, void *self);
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    bool decideSink();
    size_t toSink(const char *data, size_t bytes);
    void transferDone(CURLcode code, const QString &failure) override;
    CURLcode setOwnOptions(const QByteArray &url, long totalMs);
    CURLcode configure(const QByteArray &url, const FetchLimits &limits, long totalMs,
                       const RequestBody *body);

    Done m_done;
    CurlEasy m_easy;
    QByteArray m_setUp; // what the handle is set up with; empty: not for others
    CurlList m_headers;
    QPointer<TransferEngine> m_engine;
    QByteArray m_body;
    qint64 m_maxBody = 0;
    bool m_overLimit = false;
    BodySink *m_sink = nullptr;
    QList<QByteArray> m_extraHeaders;
    AnswerHead m_head;
    bool m_sinkDecided = false; // the answer's body was given to the sink or kept
    bool m_toSink = false;
    bool m_sinkRefused = false;
    qint64 m_streamed = 0;
    qint64 m_maxFile = 0;
    char m_errorText[CURL_ERROR_SIZE] = {};
};

} // namespace Lumisong
