#pragma once

#include <QByteArray>
#include <QString>

namespace Lumisong {

class SettingsStore;
struct UpdateNotice;

// --check-update: the window's version check without a window. It reads the
// reminder setting as start-up does, shows no dialog, writes no setting and
// prints one JSON object: result, currentVersion, skippedVersion,
// newestVersion and, when an update is due, the texts the dialog would show
// (lblUpdate, lblTitle, txtNew with its CR LF line breaks).
class HeadlessUpdateCheck
{
public:
    // Exit statuses: the page arrived (an update is due or not), or it did not.
    static constexpr int PageArrivedExitCode = 0;
    static constexpr int PageMissingExitCode = 2;

    struct Outcome
    {
        int exitCode = PageMissingExitCode;
        QByteArray json; // one line, UTF-8
    };

    // `settings` may be null (nothing skipped).
    static Outcome run(const QString &updateUrl, const SettingsStore *settings);

    // The JSON object of one check.
    static QByteArray toJson(const QString &result, const QString &currentVersion,
                             const QString &skippedVersion, const UpdateNotice &notice);
    // The update dialog's title as designed, before the date is appended.
    static QString designedDialogTitle();
};

} // namespace Lumisong
