#include "net/fetchlimits.h"

#include <QMutex>
#include <QMutexLocker>

#include "net/transferengine.h"

namespace Lumisong {

namespace {
QMutex limitsMutex;
FetchLimits currentLimits;
} // namespace

void setFetchLimits(const FetchLimits &limits)
{
    QMutexLocker lock(&limitsMutex);
    currentLimits = limits;
}

FetchLimits fetchLimits()
{
    QMutexLocker lock(&limitsMutex);
    return currentLimits;
}

void closeAllConnections()
{
    TransferEngine::shutDown();
}

} // namespace Lumisong
