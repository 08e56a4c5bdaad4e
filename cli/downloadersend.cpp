#include "cli/downloadersend.h"

#include <QEventLoop>
#include <QFile>

#include "app/applog.h"
#include "app/statustexts.h"
#include "catalogue/listfilewriter.h"
#include "net/pagerequest.h"

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
    ListFileWriter writer;
    if (chosen.archive() && !writer.canWrite(chosen.archive()->path()))
        return fail(StatusText::listWriteFailed()
                    + QStringLiteral(" (%1: %2)").arg(chosen.archive()->path(), writer.errorString()));

    ListFileRun resolving(chosen.catalogue(), [&chosen](int slot) { return chosen.isChosen(slot); },
                          chosen.parallelism());
    if (ChosenSongs::resolve(resolving, QString(), m_err) != ListFileRun::Outcome::Written)
        return fail(StatusText::listAddressFailed() + QStringLiteral(" (") + resolving.errorString() + u')');

    const std::vector<ListEntry> &entries = resolving.entries();
    const QStringList names = ListFormats::aria2Names(entries);
    QList<Aria2Rpc::Download> downloads;
    for (size_t i = 0; i < entries.size(); ++i)
        downloads.append({entries[i].song.downloadUrl, names.at(qsizetype(i))});
    QString error;
    const std::optional<QList<Aria2Rpc::Request>> requests =
        Aria2Rpc::requests(downloads, m_secret, m_dir, &error);
    if (!requests)
        return fail(error);
    qCInfo(lcApp).noquote() << "sending" << downloads.size() << "songs to" << m_rpcUrl << "in"
                            << requests->size() << "requests";
    QString failure;
    for (const Aria2Rpc::Request &request : *requests) {
        failure = send(request, entries, names);
        if (!failure.isNull())
            break; // aria2 is not taking songs as asked: no further request
    }
    return finish(chosen.archive(), failure);
}

QString DownloaderSend::send(const Aria2Rpc::Request &request,
                             const std::vector<ListEntry> &entries, const QStringList &names)
{
    // The body holds the secret: it goes to the network layer, never to a log.
    PageRequest http(m_rpcUrl, QStringLiteral("UTF-8"));
    http.setBody({request.body, QByteArrayLiteral("application/json")});
    QEventLoop loop;
    QObject::connect(&http, &PageRequest::finished, &loop, &QEventLoop::quit);
    http.start();
    loop.exec();
    const FetchResult &result = http.result();
    if (!result.ok && result.status == 0)
        return QStringLiteral("aria2 at %1 cannot be reached: %2").arg(m_rpcUrl, result.error);
    const Aria2Rpc::Answer answer = Aria2Rpc::readAnswer(result.body, request);
    if (!answer.error.isNull())
        return QStringLiteral("aria2 at %1: %2%3")
            .arg(m_rpcUrl, answer.error,
                 result.ok ? QString() : QStringLiteral(" (%1)").arg(result.error));
    QString refused;
    int refusals = 0;
    for (qsizetype i = 0; i < answer.calls.size(); ++i) {
        const size_t index = size_t(request.first + i);
        const Aria2Rpc::CallAnswer &call = answer.calls.at(i);
        if (!call.accepted()) {
            if (refusals++ == 0)
                refused = QStringLiteral("row %1 (%2): %3")
                              .arg(entries[index].row)
                              .arg(names.at(qsizetype(index)), call.error);
            continue;
        }
        m_taken << entries[index].song.songId;
        std::fprintf(m_out, "%s\t%s\n", call.gid.toUtf8().constData(),
                     names.at(qsizetype(index)).toUtf8().constData());
    }
    std::fflush(m_out);
    qCInfo(lcApp) << "aria2 took" << answer.calls.size() - refusals << "of" << request.count << "songs";
    if (refusals == 0)
        return {};
    return QStringLiteral("aria2 refused %1 of %2 songs, the first %3")
        .arg(refusals)
        .arg(request.count)
        .arg(refused);
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
