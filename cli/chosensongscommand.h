#pragma once

#include <QString>

#include <cstdio>

#include "catalogue/listformat.h"
#include "cli/chosensongs.h"
#include "cli/headlesscommand.h"

namespace Lumisong {

// What the commands over chosen songs (the export, the hand-offs to aria2 and
// to a music folder) share: the songs are chosen and resolved alike; with
// none new, "没有新的歌曲。" is said and the command ends with 0; a failure
// is named on standard error and ends it with FailureExitCode. Otherwise
// resolved() takes the songs.
class ChosenSongsCommand : public HeadlessCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChosenSongsCommand)

public:
    ~ChosenSongsCommand() override;

protected:
    ChosenSongsCommand(ChosenSongs::Options songs, std::FILE *out, std::FILE *err, QObject *parent);

    // Once, from start(). The songs are resolved into the list file
    // `listPath` of `format`, or, with a null path, for a hand-off; "没有新的
    // 歌曲。" goes to `noteStream`.
    void chooseAndResolve(std::FILE *noteStream, const QString &listPath = QString(),
                          ListFormat format = ListFormat::Lst);
    // The songs are in chosen().entries(), or in the list file; ends the
    // command with finished().
    virtual void resolved() = 0;

    ChosenSongs &chosen() { return *m_chosen; }
    ChosenSongs::Options &songs() { return m_songs; }
    // The message on standard error; FailureExitCode.
    int fail(const QString &message) { return complain(m_err, message); }

    std::FILE *const m_out;
    std::FILE *const m_err;

private:
    ChosenSongs::Options m_songs;
    ChosenSongs *m_chosen = nullptr; // a child
};

} // namespace Lumisong
