#include "update/checkforupdate.h"

#include "net/fetchresult.h"
#include "update/updatelog.h"

namespace Lumisong {

VersionPageReading readVersionPage(const QString &page, const QString &currentVersion,
                                   const QString &skippedVersion)
{
    if (page.isEmpty())
        return {UpdateCheckResult::Failed.toString(), {}};
    VersionPageReading reading;
    reading.notice = UpdateNotice::read(page, currentVersion, skippedVersion);
    reading.result =
        (reading.notice.due ? UpdateCheckResult::UpdateNeeded : UpdateCheckResult::UpToDate)
            .toString();
    return reading;
}

VersionPageReading readFetchedVersionPage(const FetchResult &page, const UpdateCheckRequest &request)
{
    if (!page.ok) {
        qCInfo(lcUpdate) << "version page missing:" << page.error;
        return {UpdateCheckResult::Failed.toString(), {}};
    }
    VersionPageReading reading =
        readVersionPage(page.text, request.currentVersion, request.skippedVersion);
    if (reading.result == UpdateCheckResult::Failed)
        qCInfo(lcUpdate) << "version page missing: empty page";
    return reading;
}

QString versionText(int major, int minor, int revision)
{
    return QString::number(major) + u'.' + QString::number(minor) + u'.' +
           QString::number(revision);
}

} // namespace Lumisong
