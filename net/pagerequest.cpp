#include "net/pagerequest.h"

#include <memory>
#include <utility>

#include <QMutex>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "net/netlog.h"

namespace Lumisong {

namespace {

// Every running request, so that abortAll can reach them from any thread.
QMutex registryMutex;
QList<PageRequest *> registry;

bool isWebScheme(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

} // namespace

PageRequest::PageRequest(QNetworkAccessManager *manager, const FetchLimits &limits)
    : m_manager(manager), m_limits(limits)
{
    m_idleTimer.setSingleShot(true);
    m_totalTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this,
            [this] { stop(QStringLiteral("no data for %1 ms").arg(m_limits.idleTimeoutMs)); });
    connect(&m_totalTimer, &QTimer::timeout, this, [this] {
        stop(QStringLiteral("not finished within %1 ms").arg(m_limits.totalTimeoutMs));
    });
    QMutexLocker lock(&registryMutex);
    registry.append(this);
}

PageRequest::~PageRequest()
{
    {
        QMutexLocker lock(&registryMutex);
        registry.removeOne(this);
    }
    delete m_reply;
}

void PageRequest::abortAll()
{
    QMutexLocker lock(&registryMutex);
    for (PageRequest *request : std::as_const(registry)) {
        // Direct call on the request's own thread, queued onto any other thread;
        // a queued call to a request that ends first is dropped with it.
        QMetaObject::invokeMethod(request, [request] { request->stop(QStringLiteral("aborted")); });
    }
}

PageRequest::Outcome PageRequest::run(const QUrl &start)
{
    m_totalTimer.start(m_limits.totalTimeoutMs);
    QUrl url = start;
    for (int redirects = 0;; ++redirects) {
        if (!isWebScheme(url))
            return {false, {}, QStringLiteral("not an http or https address: %1").arg(url.toString())};
        send(url);
        if (!m_hopFinished)
            m_loop.exec();
        // The loop also ends when the application quits (every event loop of the
        // thread is told to exit then) or cannot run at all: never read a reply
        // that is still under way as if it were complete.
        if (!m_hopFinished)
            stop(QStringLiteral("the wait ended before the answer"));
        QUrl target;
        const Hop hop = finishHop(&target);
        if (!m_failure.isEmpty())
            return {false, {}, m_failure};
        if (hop == Hop::Done)
            return {true, std::exchange(m_body, {}), {}};
        if (redirects >= m_limits.maxRedirects)
            return {false, {}, QStringLiteral("more than %1 redirects").arg(m_limits.maxRedirects)};
        url = target;
    }
}

void PageRequest::send(const QUrl &url)
{
    m_body.clear();
    m_hopFinished = false;
    QNetworkRequest request(url);
    // Redirects are followed here, to count them and to refuse other schemes.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &PageRequest::onMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &PageRequest::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &PageRequest::onFinished);
    restartIdleTimer();
}

PageRequest::Hop PageRequest::finishHop(QUrl *redirectTarget)
{
    m_idleTimer.stop();
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    const std::unique_ptr<QNetworkReply> owner(reply);
    if (!m_failure.isEmpty())
        return Hop::Done;
    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttribute.isValid() ? statusAttribute.toInt() : 0;
    const QByteArray location = reply->rawHeader("Location");
    if (status >= 300 && status < 400 && !location.isEmpty()) {
        *redirectTarget = reply->url().resolved(QUrl::fromEncoded(location.trimmed()));
        return Hop::Redirect;
    }
    if (statusAttribute.isValid() && (status < 200 || status > 299)) {
        m_failure = QStringLiteral("HTTP status %1").arg(status);
        return Hop::Done;
    }
    if (reply->error() != QNetworkReply::NoError) {
        m_failure = reply->errorString();
        return Hop::Done;
    }
    m_body += reply->readAll();
    // A body shorter than declared is a cut connection, even when the client
    // did not say so. Compressed bodies are declared by their compressed size.
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && !reply->hasRawHeader("Content-Encoding")
        && declared.toLongLong() != m_body.size()) {
        m_failure = QStringLiteral("body cut off after %1 of %2 bytes")
                        .arg(m_body.size())
                        .arg(declared.toLongLong());
    }
    return Hop::Done;
}

void PageRequest::stop(const QString &reason)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = reason;
    qCDebug(lcNet) << "request stopped:" << reason;
    if (m_reply && !m_hopFinished)
        m_reply->abort(); // finishes the reply, which ends the wait
    m_hopFinished = true;
    m_loop.quit();
}

void PageRequest::onMetaDataChanged()
{
    restartIdleTimer();
    const QVariant declared = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > m_limits.maxBodyBytes)
        stop(QStringLiteral("body of %1 bytes exceeds the limit").arg(declared.toLongLong()));
}

void PageRequest::onReadyRead()
{
    restartIdleTimer();
    m_body += m_reply->readAll();
    if (m_body.size() > m_limits.maxBodyBytes)
        stop(QStringLiteral("body exceeds %1 bytes").arg(m_limits.maxBodyBytes));
}

void PageRequest::onFinished()
{
    m_hopFinished = true;
    m_loop.quit();
}

void PageRequest::restartIdleTimer()
{
    m_idleTimer.start(m_limits.idleTimeoutMs);
}

} // namespace Lumisong
