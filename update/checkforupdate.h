#pragma once

#include <QString>

namespace Lumisong {

// What the version check needs to know.
struct UpdateCheckRequest
{
    QString updateUrl;      // page that announces the newest version
    QString currentVersion; // this program's version, "major.minor.revision"
    QString skippedVersion; // version the user asked not to be reminded of, may be empty
};

// Results of CheckForUpdate, compared as exact text.
namespace UpdateCheckResult {
inline constexpr QStringView UpdateNeeded = u"需要更新"; // announced; the dialog has closed
inline constexpr QStringView UpToDate = u"最新";         // nothing to announce
inline constexpr QStringView Failed = u"失败";           // the version page did not arrive
} // namespace UpdateCheckResult

// Runs the version check once and returns one of UpdateCheckResult. For now
// the check always finds nothing to announce and touches no network; the
// version page's reading and the update dialog replace this body.
QString CheckForUpdate(const UpdateCheckRequest &request);

} // namespace Lumisong
