#pragma once

#include <QObject>
#include <QString>

#include "update/checkforupdate.h"

namespace Lumisong {

class PageRequest;
struct FetchResult;

// The version check without waiting: start() asks for the version page,
// and finished() follows from the event loop with what the page says against
// the request's versions (readVersionPage): Failed when the page did not
// arrive (no connection, an error status, a limit of the fetcher) or arrived
// empty, UpdateNeeded when a reminder is due, UpToDate otherwise. Showing
// the reminder is the caller's part.
class UpdateCheck final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdateCheck)

public:
    explicit UpdateCheck(UpdateCheckRequest request, QObject *parent = nullptr);
    ~UpdateCheck() override; // a check under way ends without a signal

    // Once.
    void start();
    // Ends a check under way without a signal; safe at any time, also from
    // a handler of finished().
    void abort();

signals:
    void finished(const Lumisong::VersionPageReading &reading);

private:
    void onPage(const FetchResult &page);

    UpdateCheckRequest m_request;
    PageRequest *m_page = nullptr;
};

} // namespace Lumisong
