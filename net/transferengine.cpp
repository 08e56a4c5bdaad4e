#include "net/transferengine.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <climits>
#include <utility>

#include "net/fetchlimits.h"
#include "net/netlog.h"

namespace Lumisong {

namespace {

TransferEngine *theEngine = nullptr;

QString multiFailure(CURLMcode code)
{
    return code == CURLM_OK ? QString() : QString::fromUtf8(curl_multi_strerror(code));
}

} // namespace

TransferEngine *TransferEngine::instance()
{
    Q_ASSERT_X(!QCoreApplication::instance()
                   || QCoreApplication::instance()->thread() == QThread::currentThread(),
               "TransferEngine", "fetches run on the application's thread only");
    if (theEngine)
        return theEngine;
    theEngine = new TransferEngine;
    // Before the application object takes the event dispatcher away.
    if (QCoreApplication::instance())
        qAddPostRoutine(&TransferEngine::shutDown);
    return theEngine;
}

void TransferEngine::shutDown()
{
    if (theEngine && QCoreApplication::instance())
        qRemovePostRoutine(&TransferEngine::shutDown);
    // Taken first: a client told of its end may call here again.
    delete std::exchange(theEngine, nullptr);
}

TransferEngine *TransferEngine::existing()
{
    return theEngine;
}

TransferEngine::TransferEngine()
{
    initialiseCurl();
    m_share.reset(curl_share_init());
    m_multi.reset(curl_multi_init());
    CURLM *multi = m_multi.get();
    if (!m_share || !multi) {
        m_setupFailure = QStringLiteral("out of memory");
        return;
    }
    const CURLSHcode shared = curl_share_setopt(m_share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    if (shared != CURLSHE_OK) {
        m_setupFailure = QString::fromUtf8(curl_share_strerror(shared));
        return;
    }
    CURLMcode code = curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &TransferEngine::onSocket);
    if (code == CURLM_OK)
        code = curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    if (code == CURLM_OK)
        code = curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &TransferEngine::onTimer);
    if (code == CURLM_OK)
        code = curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    if (code == CURLM_OK)
        code = curl_multi_setopt(multi, CURLMOPT_PIPELINING, long(CURLPIPE_MULTIPLEX));
    m_setupFailure = multiFailure(code);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

TransferEngine::~TransferEngine()
{
    // Whatever still runs ends as failed instead of hanging.
    failAll(QString());
    for (auto &[socket, watch] : m_sockets) {
        delete watch.read;
        delete watch.write;
    }
    // The multi handle closes the connections; the share goes after it. Every
    // transfer has left the share on its way out of the multi handle.
    const CURLMcode multiCode = m_multi ? curl_multi_cleanup(m_multi.release()) : CURLM_OK;
    if (multiCode != CURLM_OK)
        qCWarning(lcNet) << "closing the connections failed:" << curl_multi_strerror(multiCode);
    const CURLSHcode shareCode = m_share ? curl_share_cleanup(m_share.release()) : CURLSHE_OK;
    if (shareCode != CURLSHE_OK)
        qCWarning(lcNet) << "forgetting the cookies failed:" << curl_share_strerror(shareCode);
}

QString TransferEngine::applyLimits()
{
    const FetchLimits limits = fetchLimits();
    const long hostConnections = std::max(limits.connectionsPerSite, 1);
    const long streams = std::max(limits.streamsPerConnection, 1);
    CURLMcode code = CURLM_OK;
    if (hostConnections != m_hostConnections) {
        code = curl_multi_setopt(m_multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS, hostConnections);
        if (code == CURLM_OK)
            m_hostConnections = hostConnections;
    }
    if (code == CURLM_OK && streams != m_streams) {
        code = curl_multi_setopt(m_multi.get(), CURLMOPT_MAX_CONCURRENT_STREAMS, streams);
        if (code == CURLM_OK)
            m_streams = streams;
    }
    return multiFailure(code);
}

bool TransferEngine::attach(CURL *easy, TransferClient *client, QString *error)
{
    QString failure = m_setupFailure.isEmpty() ? applyLimits() : m_setupFailure;
    if (failure.isEmpty()) {
        const CURLcode code = curl_easy_setopt(easy, CURLOPT_SHARE, m_share.get());
        if (code != CURLE_OK)
            failure = QString::fromUtf8(curl_easy_strerror(code));
    }
    if (failure.isEmpty())
        failure = multiFailure(curl_multi_add_handle(m_multi.get(), easy));
    if (!failure.isEmpty()) {
        *error = failure;
        return false;
    }
    m_clients[easy] = client;
    return true;
}

bool TransferEngine::detach(CURL *easy)
{
    if (!m_clients.erase(easy))
        return true;
    // The transfer leaves the share with the multi handle, so that the share
    // is never in use when the engine ends.
    return curl_multi_remove_handle(m_multi.get(), easy) == CURLM_OK
           && curl_easy_setopt(easy, CURLOPT_SHARE, nullptr) == CURLE_OK;
}

CurlEasy TransferEngine::takeIdle(const QByteArray &setUp)
{
    for (auto idle = m_idle.rbegin(); idle != m_idle.rend(); ++idle) {
        if (idle->first == setUp) {
            CurlEasy easy = std::move(idle->second);
            m_idle.erase(std::next(idle).base());
            return easy;
        }
    }
    return {};
}

void TransferEngine::keepIdle(CurlEasy easy, QByteArray setUp)
{
    // As many as run side by side, and a few more for the next hops.
    constexpr size_t mostIdle = 16;
    if (m_idle.size() >= mostIdle)
        m_idle.erase(m_idle.begin());
    m_idle.emplace_back(std::move(setUp), std::move(easy));
}

void TransferEngine::failAll(const QString &failure)
{
    // One at a time: clients may end others, or this engine, while told.
    const QPointer<TransferEngine> alive(this);
    while (alive && !m_clients.empty()) {
        const auto [easy, client] = *m_clients.begin();
        detach(easy);
        client->transferDone(CURLE_ABORTED_BY_CALLBACK, failure);
    }
}

int TransferEngine::onSocket(CURL *, curl_socket_t socket, int what, void *engine, void *)
{
    static_cast<TransferEngine *>(engine)->watch(socket, what);
    return 0;
}

int TransferEngine::onTimer(CURLM *, long timeoutMs, void *engine)
{
    // Never act inside curl's own call: a zero timeout runs from the loop.
    auto *self = static_cast<TransferEngine *>(engine);
    if (timeoutMs < 0)
        self->m_timer.stop();
    else
        self->m_timer.start(int(std::min(timeoutMs, long(INT_MAX))));
    return 0;
}

void TransferEngine::watch(curl_socket_t socket, int what)
{
    // A socket's notifiers stay for the next request on its connection (or
    // the next socket with its number) and are only switched on and off:
    // curl stops watching a kept-alive connection between its requests.
    SocketWatch &watch = m_sockets[socket];
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    const auto keep = [this, socket](QSocketNotifier *&notifier, bool wanted,
                                     QSocketNotifier::Type type, int event) {
        if (notifier) {
            notifier->setEnabled(wanted);
        } else if (wanted) {
            notifier = new QSocketNotifier(qintptr(socket), type, this);
            connect(notifier, &QSocketNotifier::activated, this,
                    [this, socket, event] { act(socket, event); });
        }
    };
    keep(watch.read, wantRead, QSocketNotifier::Read, CURL_CSELECT_IN);
    keep(watch.write, wantWrite, QSocketNotifier::Write, CURL_CSELECT_OUT);
}

void TransferEngine::act(curl_socket_t socket, int events)
{
    int running = 0;
    const CURLMcode code = curl_multi_socket_action(m_multi.get(), socket, events, &running);
    if (code != CURLM_OK)
        failAll(multiFailure(code));
    else
        deliverFinished();
}

void TransferEngine::deliverFinished()
{
    // One message at a time: a client told of its end may end other
    // transfers (their messages go with them) or this engine.
    const QPointer<TransferEngine> alive(this);
    int queued = 0;
    while (alive) {
        CURLMsg *message = curl_multi_info_read(m_multi.get(), &queued);
        if (!message)
            break;
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL *easy = message->easy_handle;
        const CURLcode code = message->data.result;
        const auto found = m_clients.find(easy);
        if (found == m_clients.end())
            continue;
        TransferClient *client = found->second;
        detach(easy);
        client->transferDone(code, QString());
    }
}

} // namespace Lumisong
