#pragma once

#include <QtGlobal>

namespace Lumisong {

// The HTTP client's own limits; exceeding any of them fails the fetch.
struct FetchLimits
{
    int idleTimeoutMs = 30000;               // silence while waiting for bytes
    int totalTimeoutMs = 120000;             // whole request, redirects included
    qint64 maxBodyBytes = 16 * 1024 * 1024;  // declared or received body size
    int maxRedirects = 10;
};

// Process-wide; a fetch reads them once when it starts.
void setFetchLimits(const FetchLimits &limits);
FetchLimits fetchLimits();

// Every pending fetchPage of any thread returns at once as failed (used when the
// main window closes). Later fetchPage calls work normally again.
void abortAllFetches();

} // namespace Lumisong
