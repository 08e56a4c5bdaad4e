#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "catalogue/listfilerun.h"
#include "download/songfolderrecord.h"
#include "download/songplan.h"

namespace Lumisong {

class SongDownload;

// Downloads songs whose addresses are resolved into one folder, shared by the
// window and `--download`. Up to Parallelism::requests songs at a time, or
// Parallelism::streams once the site answered over HTTP/2; each song is a
// SongDownload. Songs the folder holds already take no request. A song that
// fails keeps its .part and the others go on. What no song can survive (the
// folder cannot be written, its record cannot be read or kept, the disk is
// full) stops the run at once: transfers under way end, every .part stays.
//
// Does not wait: started, it runs on the event loop and ends with finished().
class SongDownloadRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SongDownloadRun)

public:
    struct Failure
    {
        int row;
        QString name;
        QString reason;
    };

    SongDownloadRun(QString folder, std::vector<ListEntry> songs,
                    ListFileRun::Parallelism parallelism, QObject *parent = nullptr);
    ~SongDownloadRun() override;

    // Before start(): false leaves every file as served (--no-tags).
    void setTags(bool tags) { m_tags = tags; }

    // Once; finished() follows from the event loop, never inside start().
    void start();
    // Stops the run as it stands: transfers under way end, their .part files
    // stay; finished() follows inside this call.
    void abort();

    int total() const { return int(m_songs.size()); }
    int done() const { return int(m_finishedIds.size()); } // in the folder now
    qint64 bytesReceived() const { return m_bytes; } // by this run
    // Bytes of the songs under way and ahead as far as answers have told.
    qint64 bytesHave() const;
    qint64 bytesExpected() const;
    // The song being fetched that comes first in the list (empty when none).
    QString currentTitle() const;

    const QStringList &finishedIds() const { return m_finishedIds; }
    const std::vector<Failure> &failures() const { return m_failures; }
    // Set when the run stopped early on what no song survives.
    const QString &fatalError() const { return m_fatal; }
    bool isFinished() const { return m_finished; }

signals:
    // A song is in the folder: fetched now, or there already.
    void songFinished(int row, const QString &path);
    void songFailed(int row, const QString &reason);
    // Not a failure: a remark on a song (kept untagged).
    void songNote(const QString &text);
    void progressed();
    void finished();

private:
    void launch();
    void onSongDone(SongDownload *download);
    void stopEarly(const QString &error);
    void end();

    QString m_folder;
    std::vector<ListEntry> m_songs;
    ListFileRun::Parallelism m_parallelism;
    bool m_tags = true;
    std::optional<SongFolderRecord> m_record;
    std::vector<PlannedSong> m_plan;
    size_t m_next = 0;
    std::vector<SongDownload *> m_running; // in list order
    bool m_multiplexed = false;
    qint64 m_bytes = 0;
    QStringList m_finishedIds;
    std::vector<Failure> m_failures;
    QString m_fatal;
    bool m_started = false;
    bool m_finished = false;
};

} // namespace Lumisong
