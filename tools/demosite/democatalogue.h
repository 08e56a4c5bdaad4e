#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace Lumisong {

// The made-up songs of the demo site and the pages that carry them. The same
// count always gives the same songs.
class DemoCatalogue
{
public:
    struct Song
    {
        QString songId, title, singer, album, releaseDate, dailyDownloads, totalDownloads;
    };

    explicit DemoCatalogue(int songCount);
    // A page of these songs, in this order. The page writes each field
    // between single quotes, so a field cannot hold "'" (nor "}" or "]").
    explicit DemoCatalogue(QList<Song> songs);
    // The songs of a listing as `lumisong --list --json` prints it; nullopt,
    // with *error set, when the text is no such listing.
    static std::optional<DemoCatalogue> fromListing(const QByteArray &json, QString *error);

    const QList<Song> &songs() const;
    const Song *findSong(QStringView songId) const;

    // The home page text with the hashedurl value and the song array, as the
    // new-songs site writes it.
    QString cataloguePage(const QString &hashedUrl) const;
    // Path of the downloadable file of a song, as the address answer gives it.
    static QString filePath(const QString &songId);
    // A song's file: a few seconds of silent MP3 (SongFile::mp3), or `size` bytes of it.
    QByteArray fileContent(const Song &song, qint64 size = 0, int revision = 0) const;
    // The version page announcing `version`.
    static QString versionPage(const QString &version);

    static QByteArray toGbk(const QString &text);

private:
    QList<Song> m_songs;
    QHash<QString, qsizetype> m_indexOfId;
};

} // namespace Lumisong
