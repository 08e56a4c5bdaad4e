#pragma once

#include <QString>

#include "update/updatenotice.h"

namespace Lumisong {

struct FetchResult;

// What the version check needs to know.
struct UpdateCheckRequest
{
    QString updateUrl;      // page that announces the newest version
    QString currentVersion; // this program's version, "major.minor.revision"
    QString skippedVersion; // version the user asked not to be reminded of, may be empty
};

// Results of the version check, compared as exact text.
namespace UpdateCheckResult {
inline constexpr QStringView UpdateNeeded = u"需要更新"; // announced; the dialog has closed
inline constexpr QStringView UpToDate = u"最新";         // nothing to announce
inline constexpr QStringView Failed = u"失败";           // the version page did not arrive
} // namespace UpdateCheckResult

// The status text while the update dialog is open.
inline constexpr QStringView ShowingUpdateText = u"正在提示更新...";

// What the check makes of the version page once it arrived, decoded:
// Failed for an empty page, UpdateNeeded when a reminder is due, UpToDate
// otherwise, and what the page announces. Reads nothing but its arguments.
struct VersionPageReading
{
    QString result;
    UpdateNotice notice;
};
VersionPageReading readVersionPage(const QString &page, const QString &currentVersion,
                                   const QString &skippedVersion);
// The same for the end of the page's request: a page that did not arrive (no
// connection, an error status, a limit of the fetcher) gives Failed.
VersionPageReading readFetchedVersionPage(const FetchResult &page, const UpdateCheckRequest &request);

// "major.minor.revision", each in plain decimal.
QString versionText(int major, int minor, int revision);

} // namespace Lumisong
