#pragma once

#include <QString>

#include <cstdio>

#include "cli/chosensongs.h"

namespace Lumisong {

// "lumisong --download DIR --all|--songs LIST [--archive FILE] [--connections N]
// [--streams M] [--no-tags]": chooses and resolves the songs as the export
// does, then downloads their files into DIR (SongDownloadRun) under the
// names the aria2 list gives them. Needs no display.
//
// Standard output gets "ROW<TAB>PATH" for each song in DIR, fetched now or
// found there; standard error the progress, notes, and at the end
// "已下载 N 首歌曲。" (result 0). Songs that failed: a message each with its
// reason, FailureExitCode. A catalogue that failed, a folder that cannot be
// written or a full disk end the run at once with FailureExitCode, every
// .part kept. The archive gains exactly the songs now complete in DIR.
class HeadlessDownload
{
public:
    static constexpr int FailureExitCode = 2;

    HeadlessDownload(ChosenSongs::Options songs, QString folder, std::FILE *out, std::FILE *err);

    void setTags(bool tags) { m_tags = tags; }
    int run();

private:
    int fail(const QString &message);
    void say(const QString &text);

    ChosenSongs::Options m_songs;
    QString m_folder;
    std::FILE *m_out;
    std::FILE *m_err;
    bool m_tags = true;
};

} // namespace Lumisong
