#include "net/pagerequest.h"

#include <algorithm>
#include <utility>

#include "net/curltransfer.h"
#include "net/modgetcode.h"
#include "net/netlog.h"
#include "net/shownaddress.h"

namespace Lumisong {

namespace {

bool isWebScheme(const QString &scheme)
{
    return scheme == u"http" || scheme == u"https";
}

} // namespace

PageRequest::PageRequest(QString url, QString charset, QObject *parent)
    : QObject(parent), m_address(std::move(url)), m_charset(std::move(charset))
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &PageRequest::sendHop);
}

PageRequest::~PageRequest() = default;

void PageRequest::setBody(RequestBody body)
{
    if (!m_started)
        m_body = std::move(body);
}

void PageRequest::streamTo(BodySink *sink, QList<QByteArray> headers)
{
    if (m_started)
        return;
    m_sink = sink;
    m_headers = std::move(headers);
}

void PageRequest::start()
{
    if (m_started)
        return;
    m_started = true;
    m_limits = fetchLimits();
    if (m_maxBodyBytes >= 0)
        m_limits.maxBodyBytes = m_maxBodyBytes;
    m_url = QUrl(m_address);
    m_clock.start();
    m_starting = true;
    sendHop();
    m_starting = false;
}

void PageRequest::abort(const QString &reason)
{
    m_started = true;
    m_aborted = true;
    fail(reason);
}

void PageRequest::sendHop()
{
    if (m_finished)
        return;
    if (!m_url.isValid() || !isWebScheme(m_url.scheme()) || m_url.host().isEmpty()) {
        fail(QStringLiteral("not an http or https address: %1").arg(shownAddress(m_url)));
        return;
    }
    if (m_secureOrigin && m_url.scheme() == u"http") {
        fail(QStringLiteral("an address from https down to http refused: %1").arg(shownAddress(m_url)));
        return;
    }
    const int timeLeftMs = m_limits.totalTimeoutMs - int(m_clock.elapsed());
    if (timeLeftMs <= 0 && !m_sink) {
        fail(QStringLiteral("not finished within %1 ms").arg(m_limits.totalTimeoutMs));
        return;
    }
    if (!m_transfer) {
        m_transfer = std::make_unique<CurlTransfer>(
            [this](TransferOutcome outcome) { onTransferDone(std::move(outcome)); });
        m_transfer->streamTo(m_sink, m_headers);
    }
    QString error;
    if (!m_transfer->start(m_url.toEncoded(), m_limits, timeLeftMs, m_body ? &*m_body : nullptr,
                           &error))
        fail(error);
}

void PageRequest::sendAfter(int pauseMs)
{
    m_pause.start(pauseMs);
}

// Whether the outcome is worth the same request once more; if so, it is on its way.
bool PageRequest::sendAgain(const TransferOutcome &outcome)
{
    if (m_body)
        return false; // a POST may have been acted on
    // A kept-alive connection the server closed before any status line went
    // stale; a fresh one that breaks means a broken server, not bad luck.
    if (outcome.unanswered && outcome.reused && m_resends < MaxResends) {
        ++m_resends;
        qCDebug(lcNet).noquote() << "sending again:" << shownAddress(m_url) << "-" << outcome.error;
        sendAfter(ResendPauseMs * m_resends);
        return true;
    }
    const bool busy = outcome.completed && (outcome.status == 503 || outcome.status == 429);
    const qint64 waitMs = qint64(outcome.retryAfterSeconds) * 1000;
    if (busy && !m_waitedRetryAfter && outcome.retryAfterSeconds > 0
        && outcome.retryAfterSeconds <= m_retryAfterLimitS
        && m_clock.elapsed() + waitMs < m_limits.totalTimeoutMs) {
        m_waitedRetryAfter = true;
        qCDebug(lcNet).noquote() << "asking again after" << outcome.retryAfterSeconds
                                 << "s:" << shownAddress(m_url);
        sendAfter(int(waitMs));
        return true;
    }
    return false;
}

void PageRequest::onTransferDone(TransferOutcome outcome)
{
    m_result.status = outcome.status;
    m_result.late = outcome.late;
    if (sendAgain(outcome))
        return;
    if (!outcome.completed) {
        fail(outcome.error);
        return;
    }
    if (outcome.status >= 300 && outcome.status < 400 && !outcome.redirectTo.isEmpty() && !m_body) {
        if (const std::optional<QString> refused = followRedirect(outcome.redirectTo))
            fail(*refused);
        return;
    }
    if (outcome.status < 200 || outcome.status > 299) {
        m_result.body = std::move(outcome.body); // a server's own words on its error
        fail(QStringLiteral("HTTP status %1").arg(outcome.status));
        return;
    }
    succeed(outcome.status, std::move(outcome.body), outcome.multiplexed);
}

// Sends the next hop, or tells why not.
std::optional<QString> PageRequest::followRedirect(const QByteArray &location)
{
    if (m_redirects >= m_limits.maxRedirects)
        return QStringLiteral("more than %1 redirects").arg(m_limits.maxRedirects);
    const QUrl next = QUrl::fromEncoded(location);
    if (!isWebScheme(next.scheme()))
        return QStringLiteral("redirect to a non-web address refused: %1").arg(shownAddress(next));
    if (m_url.scheme() == u"https" && next.scheme() == u"http")
        return QStringLiteral("redirect from https down to http refused: %1").arg(shownAddress(next));
    ++m_redirects;
    m_url = next;
    sendHop();
    return std::nullopt;
}

void PageRequest::succeed(int status, QByteArray body, bool multiplexed)
{
    FetchResult result{true, {}, {}, std::move(body), status, multiplexed};
    if (!result.body.isEmpty()) {
        std::optional<QString> text = decodeBytes(result.body, m_charset);
        if (!text) {
            fail(QStringLiteral("unknown character set: %1").arg(m_charset));
            return;
        }
        result.text = std::move(*text);
    }
    finish(std::move(result));
}

void PageRequest::fail(const QString &reason)
{
    if (m_starting) { // told from the event loop, never inside start()
        QMetaObject::invokeMethod(
            this, [this, reason] { fail(reason); }, Qt::QueuedConnection);
        return;
    }
    FetchResult failed{false, {}, reason, m_result.body, m_result.status};
    failed.late = m_result.late;
    finish(std::move(failed));
}

void PageRequest::finish(FetchResult result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_pause.stop();
    if (m_transfer)
        m_transfer->cancel();
    m_result = std::move(result);
    if (m_aborted) { // the caller's own doing: not worth the user's log
        qCDebug(lcNet).noquote() << "request aborted:" << shownAddress(m_url) << "-" << m_result.error;
    } else if (!m_result.ok) {
        qCInfo(lcNet).noquote() << "request failed:" << shownAddress(m_url) << "-" << m_result.error;
    }
    emit finished(m_result);
}

} // namespace Lumisong
