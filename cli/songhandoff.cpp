#include "cli/songhandoff.h"

namespace Lumisong {

SongHandOff::SongHandOff(ChosenSongs::Options songs, std::FILE *out, std::FILE *err, QObject *parent)
    : HeadlessCommand(parent), m_out(out), m_err(err), m_songs(std::move(songs))
{
}

SongHandOff::~SongHandOff() = default;

void SongHandOff::chooseAndResolve()
{
    m_chosen = new ChosenSongs(m_songs, this);
    connect(m_chosen, &ChosenSongs::prepared, this, &SongHandOff::onPrepared);
    connect(m_chosen, &ChosenSongs::resolved, this, [this](ListFileRun::Outcome outcome) {
        if (outcome == ListFileRun::Outcome::Written)
            handOver();
        else
            emit finished(fail(m_chosen->error()));
    });
    m_chosen->prepare(m_err);
}

void SongHandOff::onPrepared(ChosenSongs::Status status)
{
    switch (status) {
    case ChosenSongs::Status::Ready:
        // The archive must take the songs handed on: checked before anything goes.
        m_chosen->resolve(QString(), ListFormat::Lst, m_err);
        return;
    case ChosenSongs::Status::NothingNew:
        say(m_err, QStringLiteral("没有新的歌曲。"));
        emit finished(0);
        return;
    case ChosenSongs::Status::Failed:
        break;
    }
    emit finished(fail(m_chosen->error()));
}

} // namespace Lumisong
