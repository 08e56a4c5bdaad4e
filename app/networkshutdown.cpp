#include "app/networkshutdown.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include "net/fetchlimits.h"

namespace Lumisong {

void shutDownNetwork()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    closeAllConnections();
    qDeleteAll(app->findChildren<QNetworkAccessManager *>(Qt::FindDirectChildrenOnly));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace Lumisong
