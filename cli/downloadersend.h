#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "catalogue/aria2rpc.h"
#include "catalogue/listformat.h"
#include "cli/chosensongscommand.h"

namespace Lumisong {

struct FetchResult;

// "lumisong --send-to RPC-URL --all|--songs LIST [--dir DIR] [--archive FILE]
// [--rpc-secret-file FILE]": chooses and resolves the songs as the export
// does, then hands them to aria2 over its JSON-RPC interface, in list order,
// each under the file name the aria2 list would give it. Needs no display.
//
// Standard output gets "GID<TAB>file name" for each song aria2 took;
// standard error the progress, then "已将 N 首歌曲发送到下载器。" (status 0).
// A failure while choosing or resolving sends nothing and changes nothing.
// aria2 out of reach, refusing a call or answering other than JSON-RPC: its
// message on `err`, no further request, FailureExitCode; the archive then
// gains exactly the songs aria2 took, as they are queued there. Each song
// carries a GID made from the site and its id: one aria2 holds already (a
// call whose answer was lost) counts as taken, so no song is queued twice.
// One request goes out at a time; the next follows from the answer.
class DownloaderSend final : public ChosenSongsCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloaderSend)

public:
    // A secret file larger than this is no secret file.
    static constexpr qint64 MaxSecretFileBytes = 64 * 1024;

    DownloaderSend(ChosenSongs::Options songs, QString rpcUrl, std::FILE *out, std::FILE *err,
                   QObject *parent = nullptr);
    ~DownloaderSend() override;

    // --dir: aria2's download folder for these songs; empty: its own.
    void setDir(const QString &dir) { m_dir = dir; }
    // The token: the first line of `secretFile` when one is named, else
    // `fromEnvironment` (LUMISONG_RPC_SECRET); empty: aria2 wants none.
    void setSecret(const QString &secretFile, const QString &fromEnvironment);

    void start() override;

    // The first line of the file without its line end; nullopt, with *error
    // set, when it cannot be read, is too large or its first line is empty.
    static std::optional<QString> readSecretFile(const QString &path, QString *error);

private:
    using Posted = std::variant<Aria2Rpc::Answer, QString>; // the answer, or why there is none
    using CallAnswers = QList<Aria2Rpc::CallAnswer>;

    void resolved() override;
    // Sends the next request, or ends the run when none is left.
    void sendNext();
    // Posts one request to aria2; `then` gets its answer.
    void post(const Aria2Rpc::Request &request, std::function<void(const Posted &)> then);
    Posted readPosted(const FetchResult &result, const Aria2Rpc::Request &request) const;
    // Asks aria2 whether it holds the GIDs of calls refused as repeats, and
    // counts those it holds as accepted; `then` gets the calls.
    void confirmHeld(const Aria2Rpc::Request &request, CallAnswers calls,
                     std::function<void(const CallAnswers &)> then);
    // The songs taken go to stdout and m_taken; returns the refusals, or a null text.
    QString take(const Aria2Rpc::Request &request, const CallAnswers &calls);
    void finish(const QString &failure);

    QString m_rpcUrl;
    QString m_dir;
    QString m_secretFile;
    QString m_secret;
    QList<Aria2Rpc::Download> m_downloads;
    QList<Aria2Rpc::Request> m_requests;
    qsizetype m_next = 0; // the request to send next
    QStringList m_taken;  // ids of the songs aria2 took
};

} // namespace Lumisong
