#include "cli/headlessexport.h"

#include "cli/chosensongs.h"
#include "common/statustexts.h"

namespace Lumisong {

HeadlessExport::HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out,
                               std::FILE *err)
    : m_siteBase(std::move(siteBase))
    , m_file(std::move(file))
    , m_songs(std::move(songs))
    , m_out(out)
    , m_err(err)
{
}

int HeadlessExport::fail(const QString &message)
{
    std::fprintf(m_err, "lumisong: %s\n", message.toUtf8().constData());
    std::fflush(m_err);
    return FailureExitCode;
}

int HeadlessExport::succeed(const QString &message)
{
    std::fprintf(m_out, "%s\n", message.toUtf8().constData());
    std::fflush(m_out);
    return 0;
}

void HeadlessExport::setConnections(int connections)
{
    m_connections = connections;
}

void HeadlessExport::setStreams(int streams)
{
    m_streams = streams;
}

void HeadlessExport::setFormat(ListFormat format)
{
    m_format = format;
}

void HeadlessExport::setArchive(const QString &path)
{
    m_archivePath = path;
}

int HeadlessExport::run()
{
    ChosenSongs chosen({m_siteBase, m_songs, m_archivePath, m_connections, m_streams});
    switch (chosen.prepare(m_err)) {
    case ChosenSongs::Status::Ready:
        break;
    case ChosenSongs::Status::NothingNew:
        return succeed(QStringLiteral("没有新的歌曲。"));
    case ChosenSongs::Status::Failed:
        return fail(chosen.error());
    }

    ListFileRun listRun(chosen.catalogue(), [&chosen](int slot) { return chosen.isChosen(slot); },
                        chosen.parallelism());
    listRun.setFormat(m_format);
    listRun.setArchive(chosen.archive());
    switch (ChosenSongs::resolve(listRun, m_file, m_err)) {
    case ListFileRun::Outcome::Written:
        return succeed(QStringLiteral("列表成功生成！"));
    case ListFileRun::Outcome::ResolveFailed:
    case ListFileRun::Outcome::Aborted:
        return fail(StatusText::listAddressFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
    case ListFileRun::Outcome::WriteFailed:
        break;
    }
    return fail(StatusText::listWriteFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
}

} // namespace Lumisong
