#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QString>

#include <optional>

namespace Lumisong {

// aria2's JSON-RPC interface, as far as handing it downloads goes: the
// requests that queue songs and the reading of its answers. Only bytes in and
// values out; the requests travel through the program's own network layer.
//
// Every request is one system.multicall of aria2.addUri calls, in the order
// given, each carrying "token:SECRET" as its first parameter when a secret is
// set (aria2 checks the token per call, never on the multicall itself).
// The requests hold the secret: they must never be logged.
namespace Aria2Rpc {

// Calls per multicall request.
inline constexpr int MaxCallsPerRequest = 100;
// aria2's own default for --rpc-max-request-size: a larger request is refused
// by it, so none is sent.
inline constexpr qsizetype MaxRequestBytes = 2 * 1024 * 1024;

struct Download
{
    QString address;
    QString fileName; // aria2's "out": the name in its download folder
    QString gid;      // aria2's "gid": 16 hex digits; empty: aria2 picks one
};

// The download id of a song: 16 hex digits made from the site and the song
// id, the same in every run, so that aria2 refuses a song it holds already.
QString gidFor(const QString &siteBase, const QString &songId);

// Whether aria2's refusal of an addUri call may mean that a download with the
// call's GID is there already (a call repeated after its answer was lost).
// aria2 logs "GID ... is not unique" but answers "No URI to download.";
// statusRequest() tells whether it really holds the GID.
bool mayHoldGid(const QString &refusal);

struct Request
{
    QByteArray id;   // the JSON-RPC id, a text unique within one run
    QByteArray body; // UTF-8 JSON
    qsizetype first = 0; // index of its first download
    qsizetype count = 0; // downloads it carries
};

// The downloads split into requests of at most MaxCallsPerRequest calls and
// MaxRequestBytes, in order. `secret` empty: no token; `dir` empty: aria2's
// own folder. nullopt, with *error set, when one download alone is too large.
std::optional<QList<Request>> requests(const QList<Download> &downloads, const QString &secret,
                                       const QString &dir, QString *error);

// aria2's answer for one call of a multicall.
struct CallAnswer
{
    QString gid;   // when accepted: the download's id, 16 hex digits
    QString error; // when refused: aria2's message; null when accepted
    bool accepted() const { return error.isNull(); }
};

struct Answer
{
    // Null when aria2 answered the request call by call; otherwise why the
    // request as a whole failed: aria2's own error message, or what makes the
    // bytes no JSON-RPC answer to it.
    QString error;
    bool fromAria2 = false; // error is aria2's own message
    QList<CallAnswer> calls; // one per call, in order, when error is null
};

// One request asking aria2 for the status of each GID (aria2.tellStatus): a
// call it answers with the GID names a download it holds.
Request statusRequest(const QStringList &gids, const QString &secret);

// Reads the answer to `request`. An error answer (aria2 sends those with HTTP
// status 400) is read the same way as any other.
Answer readAnswer(const QByteArray &body, const Request &request);

} // namespace Aria2Rpc
} // namespace Lumisong
