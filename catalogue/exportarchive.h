#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace Lumisong {

// The ids of the songs an earlier export wrote, one per line (UTF-8; blanks
// around an id and empty lines do not count), so that the next export can
// leave them out. Only read here; the list-file run writes it back with the
// new ids, together with the list.
class ExportArchive
{
public:
    // Larger files are refused as unreadable rather than read into memory.
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    // A missing file is an empty archive. nullopt, with *error set, when the
    // file is there but cannot be read: no regular file, no permission, too large.
    static std::optional<ExportArchive> read(const QString &path, QString *error);

    const QString &path() const { return m_path; }
    bool contains(const QString &songId) const;

    // The file's bytes as they are, then each of `songIds` that it does not
    // hold yet, once, in the order given, on a line of its own. An id that is
    // blank or holds a control character cannot be one line: it is left out,
    // so that song is simply exported again next time.
    QByteArray withAdded(const QStringList &songIds) const;

private:
    explicit ExportArchive(QString path) : m_path(std::move(path)) {}

    QString m_path;
    QByteArray m_bytes;
    QSet<QString> m_ids;
};

} // namespace Lumisong
