#include "net/transferengine.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <utility>

#include "net/fetchlimits.h"

namespace Lumisong {

namespace {

thread_local TransferEngine *threadEngine = nullptr;

void endMainThreadEngine()
{
    TransferEngine::shutDown();
}

void dropNotifier(QSocketNotifier *&notifier)
{
    if (!notifier)
        return;
    // Curl may close the socket and reuse its number before the loop returns.
    notifier->setEnabled(false);
    notifier->deleteLater();
    notifier = nullptr;
}

} // namespace

TransferEngine *TransferEngine::forThisThread()
{
    if (threadEngine)
        return threadEngine;
    threadEngine = new TransferEngine;
    QThread *thread = QThread::currentThread();
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == thread) {
        // Before the application object takes the event dispatcher away.
        qAddPostRoutine(endMainThreadEngine);
    } else {
        connect(thread, &QThread::finished, threadEngine, &TransferEngine::shutDown,
                Qt::DirectConnection);
    }
    return threadEngine;
}

void TransferEngine::shutDown()
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (threadEngine && app && app->thread() == QThread::currentThread())
        qRemovePostRoutine(endMainThreadEngine);
    delete std::exchange(threadEngine, nullptr);
}

TransferEngine::TransferEngine()
{
    initialiseCurl();
    m_share.reset(curl_share_init());
    curl_share_setopt(m_share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    m_multi.reset(curl_multi_init());
    CURLM *multi = m_multi.get();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &TransferEngine::onSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &TransferEngine::onTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, long(CURLPIPE_MULTIPLEX));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

TransferEngine::~TransferEngine()
{
    // Whatever still runs ends as failed instead of hanging; clients may
    // detach others while they are told, so take them one at a time.
    while (!m_clients.empty()) {
        const auto [easy, client] = *m_clients.begin();
        detach(easy);
        client->transferDone(CURLE_ABORTED_BY_CALLBACK);
    }
    for (auto &[socket, watch] : m_sockets) {
        dropNotifier(watch.read);
        dropNotifier(watch.write);
    }
    // The multi handle closes the connections; the share goes after it.
    m_multi.reset();
}

void TransferEngine::applyLimits()
{
    const FetchLimits limits = fetchLimits();
    const long hostConnections = std::max(limits.connectionsPerSite, 1);
    const long streams = std::max(limits.streamsPerConnection, 1);
    if (hostConnections != m_hostConnections) {
        m_hostConnections = hostConnections;
        curl_multi_setopt(m_multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS, hostConnections);
    }
    if (streams != m_streams) {
        m_streams = streams;
        curl_multi_setopt(m_multi.get(), CURLMOPT_MAX_CONCURRENT_STREAMS, streams);
    }
}

bool TransferEngine::attach(CURL *easy, TransferClient *client)
{
    applyLimits();
    curl_easy_setopt(easy, CURLOPT_SHARE, m_share.get());
    if (curl_multi_add_handle(m_multi.get(), easy) != CURLM_OK)
        return false;
    m_clients[easy] = client;
    return true;
}

void TransferEngine::detach(CURL *easy)
{
    if (m_clients.erase(easy))
        curl_multi_remove_handle(m_multi.get(), easy);
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
    SocketWatch &watch = m_sockets[socket];
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    const auto keep = [this, socket](QSocketNotifier *&notifier, bool wanted,
                                     QSocketNotifier::Type type, int event) {
        if (!wanted) {
            dropNotifier(notifier);
            return;
        }
        if (notifier)
            return;
        notifier = new QSocketNotifier(qintptr(socket), type, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, socket, event] { act(socket, event); });
    };
    keep(watch.read, wantRead, QSocketNotifier::Read, CURL_CSELECT_IN);
    keep(watch.write, wantWrite, QSocketNotifier::Write, CURL_CSELECT_OUT);
    if (what == CURL_POLL_REMOVE)
        m_sockets.erase(socket);
}

void TransferEngine::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(m_multi.get(), socket, events, &running);
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
        client->transferDone(code);
    }
}

} // namespace Lumisong
