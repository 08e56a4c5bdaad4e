#include "app/headlessexport.h"

#include "app/consoleprogress.h"
#include "app/listfilewait.h"
#include "app/statustexts.h"
#include "catalogue/catalogue.h"
#include "catalogue/listfilerun.h"
#include "net/fetchlimits.h"

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

void HeadlessExport::setConnections(int connections)
{
    m_connections = connections;
}

int HeadlessExport::run()
{
    if (m_connections > 0) {
        FetchLimits limits = fetchLimits();
        limits.connectionsPerSite = m_connections;
        setFetchLimits(limits);
    }
    QString error;
    std::optional<RowSelection> selection = RowSelection::all();
    if (!m_songs.isNull())
        selection = RowSelection::parse(m_songs, &error);
    if (!selection)
        return fail(QStringLiteral("--songs: ") + error);

    Catalogue catalogue(m_siteBase);
    const Catalogue::LoadResult loaded = catalogue.loadCatalogue();
    if (!loaded.arrived)
        return fail(StatusText::catalogueMissing() + QStringLiteral(" (no catalogue from %1)").arg(m_siteBase));
    if (loaded.truncated)
        std::fprintf(m_err, "lumisong: the page holds more songs than the list; only the first %d are used\n",
                     loaded.count);

    const std::optional<std::vector<bool>> ticks = selection->ticks(loaded.count, &error);
    if (!ticks)
        return fail(QStringLiteral("--songs: ") + error);

    ListFileRun listRun(catalogue, [&ticks](int slot) { return (*ticks)[size_t(slot)]; });
    ConsoleProgress progress(m_err);
    const int total = listRun.countTicked();
    progress.start(total);
    int done = 0;
    QObject::connect(&listRun, &ListFileRun::progress, &listRun, [&](int finished) {
        done = finished;
        progress.update(finished);
    });
    const ListFileRun::Outcome outcome = runToTheEnd(listRun, m_file);
    progress.finish(outcome == ListFileRun::Outcome::Written ? total : done);

    switch (outcome) {
    case ListFileRun::Outcome::Written:
        std::fprintf(m_out, "%s\n", QStringLiteral("列表成功生成！").toUtf8().constData());
        std::fflush(m_out);
        return 0;
    case ListFileRun::Outcome::ResolveFailed:
    case ListFileRun::Outcome::Aborted:
        return fail(StatusText::listAddressFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
    case ListFileRun::Outcome::WriteFailed:
        break;
    }
    return fail(StatusText::listWriteFailed() + QStringLiteral(" (") + listRun.errorString() + u')');
}

} // namespace Lumisong
