#include "fetchnow.h"

#include <QSignalSpy>

#include "net/pagerequest.h"

namespace Lumisong::Test {

FetchResult fetchNow(const QString &url, const QString &charset)
{
    PageRequest request(url, charset);
    QSignalSpy ended(&request, &PageRequest::finished);
    request.start();
    if (!request.isFinished() && !ended.wait(120000))
        request.abort(QStringLiteral("no end within two minutes"));
    return request.result();
}

} // namespace Lumisong::Test
