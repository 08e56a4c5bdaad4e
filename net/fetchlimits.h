#pragma once

#include <QtGlobal>

namespace Lumisong {

// The HTTP client's own limits. A request that exceeds a time or size limit, or
// meets more redirects than allowed, fails.
struct FetchLimits
{
    // Under one byte a second (curl's speed over its last few seconds) for
    // this long ends a request; also the time a connection may take.
    int idleTimeoutMs = 30000;
    int totalTimeoutMs = 120000;             // whole request, redirects included
    qint64 maxBodyBytes = 16 * 1024 * 1024;  // declared or received body size
    // A body streamed to a file (a song) instead: declared or received size.
    // No total time limit applies to it, only the silence.
    qint64 maxFileBytes = 4LL * 1024 * 1024 * 1024;
    int maxRedirects = 10;
    // Connections open to one site at once, idle kept-alive ones included;
    // further requests wait for one. Also how many addresses a list-file run
    // asks for at a time.
    int connectionsPerSite = 4;
    // Requests side by side on one connection where the site multiplexes
    // (HTTP/2 over TLS); a list-file run then asks this many at a time.
    int streamsPerConnection = 32;
};

// Process-wide; a fetch reads them once when it starts.
void setFetchLimits(const FetchLimits &limits);
FetchLimits fetchLimits();

// Closes the kept-alive connections and forgets the cookies sites set;
// requests still under way fail. Call it before the
// application object ends; later requests open new connections.
void closeAllConnections();

} // namespace Lumisong
