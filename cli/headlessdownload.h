#pragma once

#include <QString>

#include <cstdio>
#include <memory>

#include "cli/chosensongscommand.h"

namespace Lumisong {

class DownloadProgress;
class SongDownloadRun;

// "lumisong --download DIR --all|--songs LIST [--archive FILE] [--connections N]
// [--streams M] [--no-tags]": chooses and resolves the songs as the export
// does, then downloads their files into DIR (SongDownloadRun) under the
// names the aria2 list gives them. Needs no display.
//
// Standard output gets "ROW<TAB>PATH" for each song in DIR, fetched now or
// found there; standard error the progress, notes, and at the end
// "已下载 N 首歌曲。" (status 0). Songs that failed: a message each with its
// reason, FailureExitCode. A catalogue that failed, a folder that cannot be
// written or a full disk end the run at once with FailureExitCode, every
// .part kept. The archive gains exactly the songs now complete in DIR.
class HeadlessDownload final : public ChosenSongsCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeadlessDownload)

public:
    HeadlessDownload(ChosenSongs::Options songs, QString folder, std::FILE *out, std::FILE *err,
                     QObject *parent = nullptr);
    ~HeadlessDownload() override;

    void setTags(bool tags) { m_tags = tags; }
    void start() override;

private:
    void resolved() override;
    void onDownloaded();

    QString m_folder;
    bool m_tags = true;
    std::unique_ptr<SongDownloadRun> m_downloads;
    std::unique_ptr<DownloadProgress> m_progress;
};

} // namespace Lumisong
