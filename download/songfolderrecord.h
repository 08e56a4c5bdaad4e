#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace Lumisong {

// What the program wrote into a download folder: the file name and size of
// each song it finished there, by song id, kept in the folder's
// ".lumisong.json". Songs that share a singer and title get names of their
// own and are never taken for each other, across runs too.
class SongFolderRecord
{
public:
    static constexpr auto FileName = ".lumisong.json";

    struct Entry
    {
        QString name;
        qint64 size = 0;
    };

    // The folder's record; a missing file is an empty record. nullopt, with
    // *error set, when the file is there but cannot be read as a record.
    static std::optional<SongFolderRecord> read(const QString &folder, QString *error);

    const Entry *find(const QString &songId) const;
    // The song the record gives `name` to (names compared without letter
    // case, as file systems that ignore it do); empty when none.
    QString ownerOf(const QString &name) const;
    void set(const QString &songId, const Entry &entry);
    // Written as a whole (a temporary file takes the old one's place).
    bool write(QString *error) const;

private:
    explicit SongFolderRecord(QString folder) : m_folder(std::move(folder)) {}

    QString m_folder;
    QHash<QString, Entry> m_songs;
    QHash<QString, QString> m_owners; // case-folded name -> song id
};

} // namespace Lumisong
