#include "cli/chosensongscommand.h"

namespace Lumisong {

ChosenSongsCommand::ChosenSongsCommand(ChosenSongs::Options songs, std::FILE *out, std::FILE *err,
                                       QObject *parent)
    : HeadlessCommand(parent), m_out(out), m_err(err), m_songs(std::move(songs))
{
}

ChosenSongsCommand::~ChosenSongsCommand() = default;

void ChosenSongsCommand::chooseAndResolve(std::FILE *noteStream, const QString &listPath,
                                          ListFormat format)
{
    m_chosen = new ChosenSongs(m_songs, this);
    connect(m_chosen, &ChosenSongs::prepared, this,
            [this, noteStream, listPath, format](ChosenSongs::Status status) {
                switch (status) {
                case ChosenSongs::Status::Ready:
                    m_chosen->resolve(listPath, format, m_err);
                    return;
                case ChosenSongs::Status::NothingNew:
                    say(noteStream, QStringLiteral("没有新的歌曲。"));
                    emit finished(0);
                    return;
                case ChosenSongs::Status::Failed:
                    break;
                }
                emit finished(fail(m_chosen->error()));
            });
    connect(m_chosen, &ChosenSongs::resolved, this, [this](ListFileRun::Outcome outcome) {
        if (outcome == ListFileRun::Outcome::Written)
            resolved();
        else
            emit finished(fail(m_chosen->error()));
    });
    m_chosen->prepare(m_err);
}

} // namespace Lumisong
