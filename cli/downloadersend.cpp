#include "cli/downloadersend.h"

#include <QEventLoop>
#include <QFile>

#include "common/applog.h"
#include "common/statustexts.h"
#include "catalogue/listfilewriter.h"
#include "net/pagerequest.h"
#include "net/shownaddress.h"

namespace Lumisong {

DownloaderSend::DownloaderSend(ChosenSongs::Options songs, QString rpcUrl, std::FILE *out,
                               std::FILE *err)
    : m_songs(std::move(songs)), m_rpcUrl(std::move(rpcUrl)), m_out(out), m_err(err)
{
}

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

int DownloaderSend::fail(const QString &message)
{
    std::fprintf(m_err, "lumisong: %s\n", message.toUtf8().constData());
    std::fflush(m_err);
    return FailureExitCode;
}

int DownloaderSend::run()
{
    if (!m_secretFile.isEmpty()) {
        QString error;
        const std::optional<QString> secret = readSecretFile(m_secretFile, &error);
        if (!secret)
            return fail(QStringLiteral("--rpc-secret-file: %1: %2").arg(m_secretFile, error));
        m_secret = *secret;
    }
    ChosenSongs chosen(m_songs);
    switch (chosen.prepare(m_err)) {
    case ChosenSongs::Status::Ready:
        break;
    case ChosenSongs::Status::NothingNew:
        // Standard output holds only the songs taken, so the note goes with the progress.
        std::fprintf(m_err, "%s\n", QStringLiteral("没有新的歌曲。").toUtf8().constData());
        return 0;
    case ChosenSongs::Status::Failed:
        return fail(chosen.error());
    }
    // The archive must take the songs aria2 takes: checked before anything is sent.
    const std::unique_ptr<ListFileRun> resolving = chosen.resolveForHandOff(m_err);
    if (!resolving)
        return fail(chosen.error());

    const std::vector<ListEntry> &entries = resolving->entries();
    const QStringList names = ListFormats::aria2Names(entries);
    QList<Aria2Rpc::Download> downloads;
    for (size_t i = 0; i < entries.size(); ++i)
        downloads.append({entries[i].song.downloadUrl, names.at(qsizetype(i)),
                          Aria2Rpc::gidFor(m_songs.siteBase, entries[i].song.songId)});
    QString error;
    const std::optional<QList<Aria2Rpc::Request>> requests =
        Aria2Rpc::requests(downloads, m_secret, m_dir, &error);
    if (!requests)
        return fail(error);
    qCInfo(lcApp).noquote() << "sending" << downloads.size() << "songs to" << shownAddress(m_rpcUrl) << "in"
                            << requests->size() << "requests";
    QString failure;
    for (const Aria2Rpc::Request &request : *requests) {
        failure = send(request, downloads, entries);
        if (!failure.isNull())
            break; // aria2 is not taking songs as asked: no further request
    }
    return finish(chosen.archive(), failure);
}

std::variant<Aria2Rpc::Answer, QString> DownloaderSend::post(const Aria2Rpc::Request &request)
{
    // The body holds the secret: it goes to the network layer, never to a log.
    PageRequest http(m_rpcUrl, QStringLiteral("UTF-8"));
    http.setBody({request.body, QByteArrayLiteral("application/json")});
    QEventLoop loop;
    QObject::connect(&http, &PageRequest::finished, &loop, &QEventLoop::quit);
    http.start();
    loop.exec();
    const FetchResult &result = http.result();
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

QString DownloaderSend::send(const Aria2Rpc::Request &request, const QList<Aria2Rpc::Download> &downloads,
                             const std::vector<ListEntry> &entries)
{
    std::variant<Aria2Rpc::Answer, QString> posted = post(request);
    if (const QString *failure = std::get_if<QString>(&posted))
        return *failure;
    QList<Aria2Rpc::CallAnswer> calls = std::get<Aria2Rpc::Answer>(posted).calls;
    confirmHeld(request, downloads, calls);
    QString refused;
    int refusals = 0;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        const size_t index = size_t(request.first + i);
        const Aria2Rpc::CallAnswer &call = calls.at(i);
        const QString &name = downloads.at(qsizetype(index)).fileName;
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

void DownloaderSend::confirmHeld(const Aria2Rpc::Request &request,
                                 const QList<Aria2Rpc::Download> &downloads,
                                 QList<Aria2Rpc::CallAnswer> &calls)
{
    // A call refused because aria2 holds its GID already was taken by an
    // earlier run whose answer was lost: the song is queued, once.
    QStringList gids;
    QList<qsizetype> asked;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (!calls.at(i).accepted() && Aria2Rpc::mayHoldGid(calls.at(i).error)) {
            gids << downloads.at(request.first + i).gid;
            asked << i;
        }
    }
    if (gids.isEmpty())
        return;
    const Aria2Rpc::Request status = Aria2Rpc::statusRequest(gids, m_secret);
    const std::variant<Aria2Rpc::Answer, QString> posted = post(status);
    const Aria2Rpc::Answer *answer = std::get_if<Aria2Rpc::Answer>(&posted);
    if (!answer)
        return; // the refusals stand
    for (qsizetype k = 0; k < asked.size(); ++k) {
        const Aria2Rpc::CallAnswer &held = answer->calls.at(k);
        if (held.accepted() && held.gid.compare(gids.at(k), Qt::CaseInsensitive) == 0) {
            qCInfo(lcApp).noquote() << "aria2 holds" << held.gid << "already";
            calls[asked.at(k)] = held;
        }
    }
}

int DownloaderSend::finish(const ExportArchive *archive, const QString &failure)
{
    // Songs aria2 took are queued there, whatever came after: the archive keeps them.
    QString archiveFailure;
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
    if (!failure.isNull() || !archiveFailure.isNull())
        return FailureExitCode;
    std::fprintf(m_err, "%s\n",
                 QStringLiteral("已将 %1 首歌曲发送到下载器。").arg(m_taken.size()).toUtf8().constData());
    std::fflush(m_err);
    return 0;
}

} // namespace Lumisong
