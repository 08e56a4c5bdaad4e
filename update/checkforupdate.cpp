#include "update/checkforupdate.h"

#include "net/modgetcode.h"
#include "update/updatelog.h"
#include "update/updatenotice.h"
#include "update/updatepresenter.h"

namespace Lumisong {

QString CheckForUpdate(const UpdateCheckRequest &request, UpdatePresenter &presenter,
                       UpdateNotice *notice)
{
    // A failed fetch is a page that did not arrive, like an empty one.
    const FetchResult page = fetchPage(request.updateUrl, QStringLiteral("gb2312"));
    if (!page.ok || page.text.isEmpty()) {
        qCInfo(lcUpdate) << "version page missing:"
                         << (page.ok ? QStringLiteral("empty page") : page.error);
        return UpdateCheckResult::Failed.toString();
    }

    const UpdateNotice read =
        UpdateNotice::read(page.text, request.currentVersion, request.skippedVersion);
    if (notice)
        *notice = read;
    if (!read.due)
        return UpdateCheckResult::UpToDate.toString();
    presenter.setStatus(ShowingUpdateText.toString());
    presenter.showUpdate(read);
    return UpdateCheckResult::UpdateNeeded.toString();
}

QString versionText(int major, int minor, int revision)
{
    return QString::number(major) + u'.' + QString::number(minor) + u'.' +
           QString::number(revision);
}

} // namespace Lumisong
