#include "download/songdownloadrun.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "download/downloadlog.h"
#include "download/songdownload.h"

namespace Lumisong {

SongDownloadRun::SongDownloadRun(QString folder, std::vector<ListEntry> songs,
                                 ListFileRun::Parallelism parallelism, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_songs(std::move(songs))
    , m_parallelism(parallelism)
{
}

SongDownloadRun::~SongDownloadRun()
{
    for (SongDownload *download : m_running)
        download->abort();
}

void SongDownloadRun::start()
{
    if (m_started)
        return;
    m_started = true;
    QMetaObject::invokeMethod(this, [this] {
        const QFileInfo folder(m_folder);
        if (!QDir().mkpath(m_folder) || !QFileInfo(m_folder).isDir() || !QFileInfo(m_folder).isWritable()) {
            stopEarly(QStringLiteral("the folder %1 cannot be written").arg(folder.absoluteFilePath()));
            return;
        }
        QString error;
        m_record = SongFolderRecord::read(m_folder, &error);
        if (!m_record) {
            stopEarly(error);
            return;
        }
        m_plan = planSongFiles(m_songs, m_folder, *m_record);
        launch();
    }, Qt::QueuedConnection);
}

void SongDownloadRun::launch()
{
    const size_t before = m_next;
    while (!m_finished && m_next < m_plan.size()) {
        const int window = std::max(1, m_multiplexed ? std::max(m_parallelism.requests, m_parallelism.streams)
                                                     : m_parallelism.requests);
        const PlannedSong &song = m_plan[m_next];
        if (!song.present && int(m_running.size()) >= window)
            break;
        ++m_next;
        const QString path = QDir(m_folder).filePath(song.name);
        if (song.present) { // no request; the record took it when the plan was made
            m_finishedIds << song.entry.song.songId;
            emit songFinished(song.entry.row, path);
            continue;
        }
        auto *download = new SongDownload(m_folder, song.name, song.entry.song, m_tags, this);
        download->setProperty("row", song.entry.row);
        m_running.push_back(download);
        connect(download, &SongDownload::received, this, [this](qint64 bytes) {
            m_bytes += bytes;
            emit progressed();
        });
        connect(download, &SongDownload::finished, this, [this, download] { onSongDone(download); });
        download->start();
    }
    if (m_next != before)
        emit progressed(); // the songs under way changed
    if (m_running.empty() && m_next >= m_plan.size() && !m_finished) {
        // The record learns of songs found in the folder too.
        QString error;
        if (m_record && !m_record->write(&error))
            stopEarly(error);
        else
            end();
    }
}

void SongDownloadRun::onSongDone(SongDownload *download)
{
    m_running.erase(std::find(m_running.begin(), m_running.end(), download));
    download->deleteLater();
    m_multiplexed = m_multiplexed || download->multiplexed();
    const int row = download->property("row").toInt();
    if (!download->note().isEmpty())
        emit songNote(download->note());
    switch (download->outcome()) {
    case SongDownload::Outcome::Done: {
        m_record->set(download->song().songId, {download->name(), download->bytesHave()});
        QString error;
        if (!m_record->write(&error)) {
            stopEarly(error);
            return;
        }
        m_finishedIds << download->song().songId;
        emit songFinished(row, download->path());
        break;
    }
    case SongDownload::Outcome::Fatal:
        stopEarly(download->errorString());
        return;
    case SongDownload::Outcome::Failed:
    case SongDownload::Outcome::Aborted:
    case SongDownload::Outcome::Running:
        qCInfo(lcDownload).noquote() << "song failed:" << download->name() << "-" << download->errorString();
        m_failures.push_back({row, download->name(), download->errorString()});
        emit songFailed(row, download->errorString());
        break;
    }
    emit progressed();
    launch();
}

qint64 SongDownloadRun::bytesHave() const
{
    qint64 have = 0;
    for (const SongDownload *download : m_running)
        have += download->bytesHave();
    return have;
}

qint64 SongDownloadRun::bytesExpected() const
{
    qint64 expected = 0;
    for (const SongDownload *download : m_running)
        expected += std::max<qint64>(download->bytesTotal(), download->bytesHave());
    return expected;
}

QString SongDownloadRun::currentTitle() const
{
    return m_running.empty() ? QString() : m_running.front()->song().title;
}

void SongDownloadRun::abort()
{
    if (m_finished)
        return;
    stopEarly(QStringLiteral("stopped"));
}

void SongDownloadRun::stopEarly(const QString &error)
{
    if (m_finished)
        return;
    m_fatal = error;
    for (SongDownload *download : m_running) {
        download->abort();
        download->deleteLater();
    }
    m_running.clear();
    end();
}

void SongDownloadRun::end()
{
    if (m_finished)
        return;
    m_finished = true;
    emit finished();
}

} // namespace Lumisong
