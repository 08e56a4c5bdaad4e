#pragma once

#include <cstdio>
#include <memory>

#include "cli/chosensongs.h"
#include "cli/headlesscommand.h"

namespace Lumisong {

// What the commands that hand the chosen songs on (to aria2, to a music
// folder) share: the songs are chosen and resolved as the export does them;
// with none new, "没有新的歌曲。" goes to standard error (standard output
// holds only what was handed on) and the command ends with 0; a failure is
// named there and ends it with FailureExitCode. Otherwise handOver() takes
// the resolved songs.
class SongHandOff : public HeadlessCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SongHandOff)

public:
    ~SongHandOff() override;

protected:
    SongHandOff(ChosenSongs::Options songs, std::FILE *out, std::FILE *err, QObject *parent);

    // Once, from start().
    void chooseAndResolve();
    // The songs are in chosen().entries(); ends the command with finished().
    virtual void handOver() = 0;

    ChosenSongs &chosen() { return *m_chosen; }
    const ChosenSongs::Options &songs() const { return m_songs; }
    // The message on standard error; FailureExitCode.
    int fail(const QString &message) { return complain(m_err, message); }

    std::FILE *const m_out;
    std::FILE *const m_err;

private:
    void onPrepared(ChosenSongs::Status status);

    ChosenSongs::Options m_songs;
    ChosenSongs *m_chosen = nullptr; // a child
};

} // namespace Lumisong
