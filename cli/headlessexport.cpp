#include "cli/headlessexport.h"

namespace Lumisong {

HeadlessExport::HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out,
                               std::FILE *err, QObject *parent)
    : HeadlessCommand(parent)
    , m_songs{std::move(siteBase), std::move(songs), QString(), 0, 0}
    , m_file(std::move(file))
    , m_out(out)
    , m_err(err)
{
}

HeadlessExport::~HeadlessExport() = default;

void HeadlessExport::start()
{
    m_chosen = new ChosenSongs(m_songs, this);
    connect(m_chosen, &ChosenSongs::prepared, this, &HeadlessExport::onPrepared);
    connect(m_chosen, &ChosenSongs::resolved, this, &HeadlessExport::onResolved);
    m_chosen->prepare(m_err);
}

void HeadlessExport::onPrepared(ChosenSongs::Status status)
{
    switch (status) {
    case ChosenSongs::Status::Ready:
        m_chosen->resolve(m_file, m_format, m_err);
        return;
    case ChosenSongs::Status::NothingNew:
        say(m_out, QStringLiteral("没有新的歌曲。"));
        emit finished(0);
        return;
    case ChosenSongs::Status::Failed:
        break;
    }
    emit finished(complain(m_err, m_chosen->error()));
}

void HeadlessExport::onResolved(ListFileRun::Outcome outcome)
{
    if (outcome != ListFileRun::Outcome::Written) {
        emit finished(complain(m_err, m_chosen->error()));
        return;
    }
    say(m_out, QStringLiteral("列表成功生成！"));
    emit finished(0);
}

} // namespace Lumisong
