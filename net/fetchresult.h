#pragma once

#include <QByteArray>
#include <QString>

namespace Lumisong {

// The end of one GET: what fetchPage returns and what a PageRequest delivers.
struct FetchResult
{
    bool ok = false;   // false: no connection, refused, final status outside 200-299,
                       // a limit of FetchLimits exceeded, unknown charset, aborted
    QString text;      // decoded body when ok; empty when the body had no bytes
    QString error;     // short reason when !ok, for logs and stderr only
    QByteArray body;   // the body's bytes as they arrived (when ok), or those of
                       // an answer whose status is outside 200-299 (not decoded)
    int status = 0;    // final HTTP status; 0 when no answer was read
    bool multiplexed = false; // the answer came on a connection that carries
                              // requests side by side (HTTP/2)
    bool late = false; // !ok: the request went out but no answer came in time,
                       // so the server may have acted on it
};

} // namespace Lumisong
