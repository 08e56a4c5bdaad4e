#include "app/networkshutdown.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

namespace Lumisong {

void shutDownNetwork()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    qDeleteAll(app->findChildren<QNetworkAccessManager *>(Qt::FindDirectChildrenOnly));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace Lumisong
