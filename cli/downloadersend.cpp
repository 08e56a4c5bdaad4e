#include "cli/downloadersend.h"

#include <QFile>

#include "common/applog.h"
#include "common/statustexts.h"
#include "catalogue/listfilewriter.h"
#include "net/pagerequest.h"
#include "net/shownaddress.h"

namespace Lumisong {

DownloaderSend::DownloaderSend(ChosenSongs::Options songs, QString rpcUrl, std::FILE *out,
                               std::FILE *err, QObject *parent)
    : ChosenSongsCommand(std::move(songs), out, err, parent), m_rpcUrl(std::move(rpcUrl))
{
}

DownloaderSend::~DownloaderSend() = default;

void DownloaderSend::setSecret(const QString &secretFile, const QString &fromEnvironment)
{
    m_secretFile = secretFile;
    m_secret = fromEnvironment;
}

std::optional<QString> DownloaderSend::readSecretFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxSecretFileBytes + 1);
    if (bytes.size() > MaxSecretFileBytes) {
        *error = QStringLiteral("larger than %1 bytes").arg(MaxSecretFileBytes);
        return std::nullopt;
    }
    QByteArray line = bytes.left(bytes.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty()) {
        *error = QStringLiteral("its first line is empty");
        return std::nullopt;
    }
    return QString::fromUtf8(line);
}

void DownloaderSend::start()
{
    if (!m_secretFile.isEmpty()) {
        QString error;
        const std::optional<QString> secret = readSecretFile(m_secretFile, &error);
        if (!secret) {
            emit finished(fail(QStringLiteral("--rpc-secret-file: %1: %2").arg(m_secretFile, error)));
            return;
        }
        m_secret = *secret;
    }
    chooseAndResolve(m_err);
}

void DownloaderSend::resolved()
{
    const std::vector<ListEntry> &entries = chosen().entries();
    const QStringList names = ListFormats::aria2Names(entries);
    for (size_t i = 0; i < entries.size(); ++i)
        m_downloads.append({entries[i].song.downloadUrl, names.at(qsizetype(i)),
                            Aria2Rpc::gidFor(songs().siteBase, entries[i].song.songId)});
    QString error;
    std::optional<QList<Aria2Rpc::Request>> requests =
        Aria2Rpc::requests(m_downloads, m_secret, m_dir, &error);
    if (!requests) {
        emit finished(fail(error));
        return;
    }
    m_requests = std::move(*requests);
    qCInfo(lcApp).noquote() << "sending" << m_downloads.size() << "songs to" << shownAddress(m_rpcUrl)
                            << "in" << m_requests.size() << "requests";
    sendNext();
}

void DownloaderSend::sendNext()
{
    if (m_next == m_requests.size()) {
        finish(QString());
        return;
    }
    const Aria2Rpc::Request &request = m_requests.at(m_next++);
    post(request, [this, &request](const Posted &posted) {
        if (const QString *failure = std::get_if<QString>(&posted)) {
            finish(*failure);
            return;
        }
        const CallAnswers &calls = std::get<Aria2Rpc::Answer>(posted).calls;
        confirmHeld(request, calls, [this, &request](const CallAnswers &confirmed) {
            const QString refused = take(request, confirmed);
            if (refused.isNull())
                sendNext();
            else
                finish(refused); // aria2 is not taking songs as asked: no further request
        });
    });
}

void DownloaderSend::post(const Aria2Rpc::Request &request, std::function<void(const Posted &)> then)
{
    // The body holds the secret: it goes to the network layer, never to a log.
    auto *http = new PageRequest(m_rpcUrl, QStringLiteral("UTF-8"), this);
    http->setBody({request.body, QByteArrayLiteral("application/json")});
    connect(http, &PageRequest::finished, this,
            [this, http, request, then = std::move(then)](const FetchResult &result) {
                http->deleteLater();
                then(readPosted(result, request));
            });
    http->start();
}

DownloaderSend::Posted DownloaderSend::readPosted(const FetchResult &result,
                                                  const Aria2Rpc::Request &request) const
{
    const QString rpc = shownAddress(m_rpcUrl);
    if (!result.ok && result.late)
        return QStringLiteral("aria2 at %1 answered too late (%2); it may have queued the songs "
                              "all the same, and a new run queues none of them twice")
            .arg(rpc, result.error);
    if (!result.ok && result.status == 0)
        return QStringLiteral("aria2 at %1 cannot be reached: %2").arg(rpc, result.error);
    Aria2Rpc::Answer answer = Aria2Rpc::readAnswer(result.body, request);
    if (answer.error.isNull())
        return answer;
    // The cause first: aria2's own words, else the HTTP status that came instead.
    if (result.ok || answer.fromAria2)
        return QStringLiteral("aria2 at %1: %2%3")
            .arg(rpc, answer.error, result.ok ? QString() : QStringLiteral(" (%1)").arg(result.error));
    return QStringLiteral("aria2 at %1: %2; %3").arg(rpc, result.error, answer.error);
}

QString DownloaderSend::take(const Aria2Rpc::Request &request, const CallAnswers &calls)
{
    const std::vector<ListEntry> &entries = chosen().entries();
    QString refused;
    int refusals = 0;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        const size_t index = size_t(request.first + i);
        const Aria2Rpc::CallAnswer &call = calls.at(i);
        const QString &name = m_downloads.at(qsizetype(index)).fileName;
        if (!call.accepted()) {
            if (refusals++ == 0)
                refused = QStringLiteral("row %1 (%2): %3").arg(entries[index].row).arg(name, call.error);
            continue;
        }
        m_taken << entries[index].song.songId;
        std::fprintf(m_out, "%s\t%s\n", call.gid.toUtf8().constData(), name.toUtf8().constData());
    }
    std::fflush(m_out);
    qCInfo(lcApp) << "aria2 took" << calls.size() - refusals << "of" << request.count << "songs";
    if (refusals == 0)
        return {};
    return QStringLiteral("aria2 refused %1 of %2 songs, the first %3")
        .arg(refusals)
        .arg(request.count)
        .arg(refused);
}

void DownloaderSend::confirmHeld(const Aria2Rpc::Request &request, CallAnswers calls,
                                 std::function<void(const CallAnswers &)> then)
{
    // A call refused because aria2 holds its GID already was taken by an
    // earlier run whose answer was lost: the song is queued, once.
    QStringList gids;
    QList<qsizetype> asked;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (!calls.at(i).accepted() && Aria2Rpc::mayHoldGid(calls.at(i).error)) {
            gids << m_downloads.at(request.first + i).gid;
            asked << i;
        }
    }
    if (gids.isEmpty()) {
        then(calls);
        return;
    }
    post(Aria2Rpc::statusRequest(gids, m_secret),
         [gids, asked, calls = std::move(calls), then = std::move(then)](const Posted &posted) mutable {
             if (const Aria2Rpc::Answer *answer = std::get_if<Aria2Rpc::Answer>(&posted)) {
                 for (qsizetype k = 0; k < asked.size(); ++k) {
                     const Aria2Rpc::CallAnswer &held = answer->calls.at(k);
                     if (held.accepted() && held.gid.compare(gids.at(k), Qt::CaseInsensitive) == 0) {
                         qCInfo(lcApp).noquote() << "aria2 holds" << held.gid << "already";
                         calls[asked.at(k)] = held;
                     }
                 }
             } // else the refusals stand
             then(calls);
         });
}

void DownloaderSend::finish(const QString &failure)
{
    // Songs aria2 took are queued there, whatever came after: the archive keeps them.
    QString archiveFailure;
    const ExportArchive *archive = chosen().archive();
    if (archive && !m_taken.isEmpty()) {
        ListFileWriter writer;
        if (!writer.write({{archive->path(), archive->withAdded(m_taken)}}))
            archiveFailure = StatusText::listWriteFailed()
                             + QStringLiteral(" (%1: %2)").arg(archive->path(), writer.errorString());
    }
    if (!failure.isNull()) {
        fail(failure);
        if (!m_taken.isEmpty())
            std::fprintf(m_err, "lumisong: aria2 took %lld songs before that; they stay queued\n",
                         qlonglong(m_taken.size()));
    }
    if (!archiveFailure.isNull())
        fail(archiveFailure);
    if (!failure.isNull() || !archiveFailure.isNull()) {
        emit finished(FailureExitCode);
        return;
    }
    say(m_err, QStringLiteral("已将 %1 首歌曲发送到下载器。").arg(m_taken.size()));
    emit finished(0);
}

} // namespace Lumisong
