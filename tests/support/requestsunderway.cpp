#include "requestsunderway.h"

#include <QCoreApplication>
#include <QEvent>

#include "net/pagerequest.h"

namespace Lumisong::Test {

int requestsUnderWay(const QObject *owner)
{
    QCoreApplication::sendPostedEvents(); // a queued step that would start another request
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (const PageRequest *request : owner->findChildren<PageRequest *>())
        count += request->isFinished() ? 0 : 1;
    return count;
}

} // namespace Lumisong::Test
