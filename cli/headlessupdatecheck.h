#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <memory>

#include "cli/headlesscommand.h"

namespace Lumisong {

class PageRequest;
struct FetchResult;
struct UpdateNotice;

// --check-update: the window's version check without a window. It shows no
// dialog, writes no setting and prints one JSON object on `out`: result,
// currentVersion, skippedVersion, newestVersion and, when an update is due,
// the texts the dialog would show (lblUpdate, lblTitle, txtNew with its CR LF
// line breaks). Ends with PageArrivedExitCode when the version page arrived
// (an update is due or not), else PageMissingExitCode.
class HeadlessUpdateCheck final : public HeadlessCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeadlessUpdateCheck)

public:
    static constexpr int PageArrivedExitCode = 0;
    static constexpr int PageMissingExitCode = 2;

    // `skippedVersion`: the reminder setting as start-up reads it; may be empty.
    HeadlessUpdateCheck(QString updateUrl, QString skippedVersion, std::FILE *out, std::FILE *err,
                        QObject *parent = nullptr);
    ~HeadlessUpdateCheck() override;

    void start() override;

    // The JSON object of one check, one line, UTF-8.
    static QByteArray toJson(const QString &result, const QString &currentVersion,
                             const QString &skippedVersion, const UpdateNotice &notice);
    // The update dialog's title as designed, before the date is appended.
    static QString designedDialogTitle();

private:
    void onPage(const FetchResult &page);

    QString m_updateUrl;
    QString m_skipped;
    std::FILE *m_out;
    std::FILE *m_err;
    std::unique_ptr<PageRequest> m_request;
};

} // namespace Lumisong
