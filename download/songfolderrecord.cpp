#include "download/songfolderrecord.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace Lumisong {

namespace {
// A record is a few lines per song; anything larger is no record of ours.
constexpr qint64 MaxRecordBytes = 64 * 1024 * 1024;
} // namespace

std::optional<SongFolderRecord> SongFolderRecord::read(const QString &folder, QString *error)
{
    SongFolderRecord record(folder);
    QFile file(QDir(folder).filePath(QLatin1StringView(FileName)));
    if (!file.exists())
        return record;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + u": " + file.errorString();
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(MaxRecordBytes), &parseError);
    if (!document.isObject()) {
        *error = file.fileName() + u": not a record of downloaded songs";
        return std::nullopt;
    }
    const QJsonObject songs = document.object().value(u"songs").toObject();
    for (auto it = songs.begin(); it != songs.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        const QString name = entry.value(u"file").toString();
        if (!name.isEmpty() && !name.contains(u'/'))
            record.set(it.key(), {name, qint64(entry.value(u"size").toDouble())});
    }
    return record;
}

const SongFolderRecord::Entry *SongFolderRecord::find(const QString &songId) const
{
    const auto found = m_songs.constFind(songId);
    return found == m_songs.cend() ? nullptr : &found.value();
}

QString SongFolderRecord::ownerOf(const QString &name) const
{
    return m_owners.value(name.toCaseFolded());
}

void SongFolderRecord::set(const QString &songId, const Entry &entry)
{
    if (const Entry *old = find(songId))
        m_owners.remove(old->name.toCaseFolded());
    m_songs.insert(songId, entry);
    m_owners.insert(entry.name.toCaseFolded(), songId);
}

bool SongFolderRecord::write(QString *error) const
{
    QJsonObject songs;
    for (auto it = m_songs.cbegin(); it != m_songs.cend(); ++it)
        songs.insert(it.key(), QJsonObject{{QStringLiteral("file"), it->name}, {QStringLiteral("size"), double(it->size)}});
    QSaveFile file(QDir(m_folder).filePath(QLatin1StringView(FileName)));
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(QJsonObject{{QStringLiteral("songs"), songs}}).toJson()) < 0
        || !file.commit()) {
        *error = file.fileName() + u": " + file.errorString();
        return false;
    }
    return true;
}

} // namespace Lumisong
