#pragma once

#include <QString>

namespace Lumisong {

// What the version page announces, read against the running version and the
// version the user asked not to be reminded of. Every marker is found by
// exact, case-sensitive text; versions are compared as text, never as numbers.
struct UpdateNotice
{
    QString newestVersion; // the title's "(V...)", empty when none
    bool due = false;      // newestVersion is not empty, not current and not skipped
    // Only when due:
    QString releaseDate; // after "【本次更新】" up to the first "<br>"
    QString lblUpdate;   // "检测到新版本：N（当前版本：C）"
    QString txtNew;      // the notes after the date line, with CR LF line breaks
    QString titleSuffix; // "(更新于：D)", appended to the dialog's title

    // `page` is the decoded, non-empty version page.
    static UpdateNotice read(const QString &page, const QString &currentVersion,
                             const QString &skippedVersion);
};

} // namespace Lumisong
