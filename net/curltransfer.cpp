#include "net/curltransfer.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "net/proxyrules.h"

namespace Lumisong {

namespace {

// A figure curl keeps about the transfer, or `fallback` when it has none.
template <typename T>
T info(CURL *easy, CURLINFO what, T fallback)
{
    T value = fallback;
    return curl_easy_getinfo(easy, what, &value) == CURLE_OK ? value : fallback;
}

// Everything configure() sets alike for every request with these limits and
// no body; empty for requests with a body, whose handles serve no other.
QByteArray setUpOf(const FetchLimits &limits, const RequestBody *body)
{
    if (body)
        return {};
    return QByteArray::number(limits.maxBodyBytes) + ' ' + QByteArray::number(limits.idleTimeoutMs)
           + ' ' + noProxyHosts() + ' ' + qgetenv("SSL_CERT_FILE") + ' ' + qgetenv("SSL_CERT_DIR");
}

} // namespace

CurlTransfer::CurlTransfer(Done done) : m_done(std::move(done)) {}

CurlTransfer::~CurlTransfer()
{
    cancel();
    TransferEngine *engine = TransferEngine::existing();
    if (m_easy && !m_setUp.isEmpty() && engine)
        engine->keepIdle(std::move(m_easy), std::move(m_setUp));
}

void CurlTransfer::cancel()
{
    // A handle curl kept is of no further use: the next start makes a new one.
    if (m_engine && m_easy && !m_engine->detach(m_easy.get()))
        m_easy.reset();
    m_engine = nullptr;
}

bool CurlTransfer::start(const QByteArray &url, const FetchLimits &limits, int timeoutMs,
                         const RequestBody *body, QString *error)
{
    cancel();
    initialiseCurl();
    m_body.clear();
    m_overLimit = false;
    m_errorText[0] = '\0';
    m_maxBody = limits.maxBodyBytes;
    m_maxFile = limits.maxFileBytes;
    m_head = {};
    m_sinkDecided = m_toSink = m_sinkRefused = false;
    m_streamed = 0;
    // A streamed body may take as long as it keeps coming.
    const long totalMs = m_sink ? 0L : long(std::max(timeoutMs, 1));
    // A later exchange (the next hop of a redirect) keeps the options and
    // changes only the address and the time left: curl_easy_reset would
    // leave the cookie engine's set-up behind.
    TransferEngine *engine = TransferEngine::instance();
    CURLcode code = CURLE_OK;
    if (!m_easy) {
        // A streamed body's handle has options of its own: it serves no other.
        m_setUp = m_sink ? QByteArray() : setUpOf(limits, body);
        if (!m_setUp.isEmpty())
            m_easy = engine->takeIdle(m_setUp);
        if (m_easy) {
            code = setOwnOptions(url, totalMs);
        } else {
            m_easy.reset(curl_easy_init());
            code = m_easy ? configure(url, limits, totalMs, body) : CURLE_OUT_OF_MEMORY;
        }
    } else {
        code = curl_easy_setopt(m_easy.get(), CURLOPT_URL, url.constData());
        if (code == CURLE_OK)
            code = curl_easy_setopt(m_easy.get(), CURLOPT_TIMEOUT_MS, totalMs);
    }
    QString failure;
    if (code != CURLE_OK)
        failure = QString::fromUtf8(curl_easy_strerror(code));
    if (failure.isEmpty() && engine->attach(m_easy.get(), this, &failure)) {
        m_engine = engine;
        return true;
    }
    // Half set up or refused: the next start sets a new handle up from scratch.
    m_easy.reset();
    m_setUp.clear();
    m_headers.reset();
    *error = QStringLiteral("the HTTP client refused the request: %1").arg(failure);
    return false;
}

void CurlTransfer::streamTo(BodySink *sink, QList<QByteArray> headers)
{
    m_sink = sink;
    m_extraHeaders = std::move(headers);
}

// What a handle set up by another transfer needs to serve this one: every
// option that names this transfer.
CURLcode CurlTransfer::setOwnOptions(const QByteArray &url, long totalMs)
{
    CURL *easy = m_easy.get();
    CURLcode code = curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    if (code == CURLE_OK)
        code = curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, totalMs);
    if (code == CURLE_OK)
        code = curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_errorText);
    if (code == CURLE_OK)
        code = curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (code == CURLE_OK)
        code = curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    return code;
}

// Every option, in order; the first that curl refuses ends the set-up.
CURLcode CurlTransfer::configure(const QByteArray &url, const FetchLimits &limits, long totalMs,
                                 const RequestBody *body)
{
    CURL *easy = m_easy.get();
    CURLcode code = CURLE_OK;
    const auto set = [easy, &code](CURLoption option, auto value) {
        if (code == CURLE_OK)
            code = curl_easy_setopt(easy, option, value);
    };
    const long silenceSeconds = std::max(1L, long((limits.idleTimeoutMs + 999) / 1000));
    set(CURLOPT_URL, url.constData());
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, m_errorText);
    set(CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    set(CURLOPT_WRITEDATA, this);
    set(CURLOPT_USERAGENT, "Mozilla/5.0");
    set(CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    set(CURLOPT_HEADERDATA, this);
    // Pages: every coding this curl can decode; the cap counts decoded bytes.
    // Files: the bytes as the server keeps them.
    if (!m_sink)
        set(CURLOPT_ACCEPT_ENCODING, "");
    set(CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_sink ? limits.maxFileBytes : limits.maxBodyBytes));
    set(CURLOPT_CONNECTTIMEOUT_MS, long(limits.idleTimeoutMs));
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, silenceSeconds);
    set(CURLOPT_TIMEOUT_MS, totalMs);
    set(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_2TLS));
    set(CURLOPT_PIPEWAIT, 1L);
    set(CURLOPT_COOKIEFILE, "");
    set(CURLOPT_NOPROXY, noProxyHosts().constData());
    set(CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray caFile = qgetenv("SSL_CERT_FILE");
    if (!caFile.isEmpty())
        set(CURLOPT_CAINFO, caFile.constData());
    const QByteArray caDir = qgetenv("SSL_CERT_DIR");
    if (!caDir.isEmpty())
        set(CURLOPT_CAPATH, caDir.constData());
    QList<QByteArray> headers = m_extraHeaders;
    if (body) // no "Expect: 100-continue": the body goes with the request at once
        headers << QByteArrayLiteral("Expect:") << QByteArray("Content-Type: " + body->contentType);
    if (!headers.isEmpty() && code == CURLE_OK) {
        curl_slist *list = nullptr;
        for (const QByteArray &header : std::as_const(headers)) {
            curl_slist *longer = curl_slist_append(list, header.constData());
            if (!longer) {
                curl_slist_free_all(list);
                return CURLE_OUT_OF_MEMORY;
            }
            list = longer;
        }
        m_headers.reset(list);
        set(CURLOPT_HTTPHEADER, m_headers.get());
    }
    if (body) {
        set(CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body->bytes.size()));
        set(CURLOPT_COPYPOSTFIELDS, body->bytes.constData());
        // curl sends a request again by itself when a kept-alive connection
        // closes before any answer; a POST may have been acted on by then, so
        // it goes on a connection of its own and is sent once.
        set(CURLOPT_FRESH_CONNECT, 1L);
    }
    return code;
}

size_t CurlTransfer::onHeader(char *data, size_t size, size_t count, void *self)
{
    auto *transfer = static_cast<CurlTransfer *>(self);
    const size_t bytes = size * count;
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
    AnswerHead &head = transfer->m_head;
    if (line.startsWith("HTTP/")) { // a new answer (after an interim one)
        head = {};
        return bytes;
    }
    const qsizetype colon = line.indexOf(':');
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (colon <= 0)
        return bytes;
    if (name == "etag")
        head.etag = value;
    else if (name == "last-modified")
        head.lastModified = value;
    else if (name == "content-range")
        head.contentRange = value;
    else if (name == "transfer-encoding")
        head.chunked = value.toLower().contains("chunked");
    return bytes;
}

// Whether the answer's body goes to the sink: a 2xx answer; error pages and
// redirects are kept as for any request.
bool CurlTransfer::decideSink()
{
    m_sinkDecided = true;
    long status = 0;
    curl_easy_getinfo(m_easy.get(), CURLINFO_RESPONSE_CODE, &status);
    m_toSink = status >= 200 && status <= 299;
    if (!m_toSink)
        return true;
    m_head.status = int(status);
    curl_off_t length = -1;
    if (curl_easy_getinfo(m_easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
        m_head.contentLength = qint64(length);
    m_sinkRefused = !m_sink->beginBody(m_head);
    return !m_sinkRefused;
}

size_t CurlTransfer::toSink(const char *data, size_t bytes)
{
    m_streamed += qint64(bytes);
    if (m_streamed > m_maxFile) {
        m_overLimit = true;
        return 0;
    }
    if (!m_sink->writeBody(data, qint64(bytes))) {
        m_sinkRefused = true;
        return 0;
    }
    return bytes;
}

size_t CurlTransfer::onBody(char *data, size_t size, size_t count, void *self)
{
    auto *transfer = static_cast<CurlTransfer *>(self);
    const size_t bytes = size * count;
    if (transfer->m_sink) {
        if (!transfer->m_sinkDecided && !transfer->decideSink())
            return 0;
        if (transfer->m_toSink)
            return transfer->toSink(data, bytes);
    }
    if (qint64(transfer->m_body.size()) + qint64(bytes) > transfer->m_maxBody) {
        transfer->m_overLimit = true;
        return 0; // curl ends the transfer
    }
    transfer->m_body.append(data, qsizetype(bytes));
    return bytes;
}

void CurlTransfer::transferDone(CURLcode code, const QString &failure)
{
    m_engine = nullptr;
    CURL *easy = m_easy.get();
    TransferOutcome outcome;
    const long status = info(easy, CURLINFO_RESPONSE_CODE, 0L);
    outcome.status = int(status);
    const long version = info(easy, CURLINFO_HTTP_VERSION, 0L);
    outcome.multiplexed = version == CURL_HTTP_VERSION_2_0 || version == CURL_HTTP_VERSION_3;
    outcome.reused = info(easy, CURLINFO_NUM_CONNECTS, -1L) == 0;
    const long proxyStatus = info(easy, CURLINFO_HTTP_CONNECTCODE, 0L);
    outcome.retryAfterSeconds =
        int(std::clamp<curl_off_t>(info(easy, CURLINFO_RETRY_AFTER, curl_off_t(0)), 0, INT_MAX));
    const long requestBytes = info(easy, CURLINFO_REQUEST_SIZE, 0L);
    if (failure.isEmpty() && code == CURLE_OK && m_sink && !m_sinkDecided && !decideSink())
        code = CURLE_WRITE_ERROR; // an empty body the sink refused
    if (!failure.isEmpty()) {
        outcome.error = failure;
    } else if (m_sinkRefused) {
        outcome.refusedBySink = true;
        outcome.error = QStringLiteral("the body was not taken");
    } else if (code == CURLE_OK) {
        outcome.completed = true;
        outcome.body = std::exchange(m_body, {});
        const char *location = info<const char *>(easy, CURLINFO_REDIRECT_URL, nullptr);
        if (location)
            outcome.redirectTo = location;
    } else if (status == 0 && proxyStatus != 0 && (proxyStatus < 200 || proxyStatus > 299)) {
        // The proxy's answer is its last word on this address: never asked again.
        outcome.error = QStringLiteral("the proxy refused the tunnel (HTTP status %1)").arg(proxyStatus);
    } else if (status == 0 && (code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR
                               || code == CURLE_HTTP2_STREAM)) {
        outcome.unanswered = true;
        outcome.error = QString::fromUtf8(m_errorText[0] ? m_errorText : curl_easy_strerror(code));
    } else if (code == CURLE_OPERATION_TIMEDOUT && status == 0 && requestBytes > 0) {
        outcome.late = true;
        outcome.error = QString::fromUtf8(m_errorText[0] ? m_errorText : curl_easy_strerror(code));
    } else if (code == CURLE_ABORTED_BY_CALLBACK) {
        outcome.error = QStringLiteral("the connections were closed");
    } else if (m_overLimit || code == CURLE_FILESIZE_EXCEEDED) {
        outcome.error = QStringLiteral("the body is larger than %1 bytes")
                            .arg(m_sink && (m_toSink || code == CURLE_FILESIZE_EXCEEDED) ? m_maxFile : m_maxBody);
    } else {
        outcome.error = QString::fromUtf8(m_errorText[0] ? m_errorText : curl_easy_strerror(code));
    }
    m_body.clear();
    // Last: the owner may end this transfer from inside.
    m_done(std::move(outcome));
}

} // namespace Lumisong
