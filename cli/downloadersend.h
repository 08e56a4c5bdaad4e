#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <variant>
#include <vector>

#include "cli/chosensongs.h"
#include "catalogue/aria2rpc.h"
#include "catalogue/listformat.h"

namespace Lumisong {

// "lumisong --send-to RPC-URL --all|--songs LIST [--dir DIR] [--archive FILE]
// [--rpc-secret-file FILE]": chooses and resolves the songs as the export
// does, then hands them to aria2 over its JSON-RPC interface, in list order,
// each under the file name the aria2 list would give it. Needs no display.
//
// Standard output gets "GID<TAB>file name" for each song aria2 took;
// standard error the progress, then "已将 N 首歌曲发送到下载器。" (result 0).
// A failure while choosing or resolving sends nothing and changes nothing.
// aria2 out of reach, refusing a call or answering other than JSON-RPC: its
// message on `err`, no further request, FailureExitCode; the archive then
// gains exactly the songs aria2 took, as they are queued there. Each song
// carries a GID made from the site and its id: one aria2 holds already (a
// call whose answer was lost) counts as taken, so no song is queued twice.
class DownloaderSend
{
public:
    static constexpr int FailureExitCode = 2;
    // A secret file larger than this is no secret file.
    static constexpr qint64 MaxSecretFileBytes = 64 * 1024;

    DownloaderSend(ChosenSongs::Options songs, QString rpcUrl, std::FILE *out, std::FILE *err);

    // --dir: aria2's download folder for these songs; empty: its own.
    void setDir(const QString &dir) { m_dir = dir; }
    // The token: the first line of `secretFile` when one is named, else
    // `fromEnvironment` (LUMISONG_RPC_SECRET); empty: aria2 wants none.
    void setSecret(const QString &secretFile, const QString &fromEnvironment);

    int run();

    // The first line of the file without its line end; nullopt, with *error
    // set, when it cannot be read, is too large or its first line is empty.
    static std::optional<QString> readSecretFile(const QString &path, QString *error);

private:
    // Sends one request; the songs taken go to stdout and m_taken. Returns
    // the failure, or a null text.
    QString send(const Aria2Rpc::Request &request, const QList<Aria2Rpc::Download> &downloads,
                 const std::vector<ListEntry> &entries);
    // aria2's answer to the request, or why there is none.
    std::variant<Aria2Rpc::Answer, QString> post(const Aria2Rpc::Request &request);
    // Counts the calls refused over a GID aria2 holds already as accepted.
    void confirmHeld(const Aria2Rpc::Request &request, const QList<Aria2Rpc::Download> &downloads,
                     QList<Aria2Rpc::CallAnswer> &calls);
    int finish(const ExportArchive *archive, const QString &failure);
    int fail(const QString &message);

    ChosenSongs::Options m_songs;
    QString m_rpcUrl;
    QString m_dir;
    QString m_secretFile;
    QString m_secret;
    std::FILE *m_out;
    std::FILE *m_err;
    QStringList m_taken; // ids of the songs aria2 took
};

} // namespace Lumisong
