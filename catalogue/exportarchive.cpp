#include "catalogue/exportarchive.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "catalogue/linebreak.h"

namespace Lumisong {

namespace {

// The id as the archive keeps it; empty when it cannot be kept on one line.
QString archivedForm(const QString &songId)
{
    const QString id = songId.trimmed();
    return std::any_of(id.cbegin(), id.cend(), breaksLine) ? QString() : id;
}

} // namespace

std::optional<ExportArchive> ExportArchive::read(const QString &path, QString *error)
{
    ExportArchive archive(path);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return archive;
    // Checked before opening: a FIFO or a device would block or never end.
    if (!info.isFile()) {
        *error = QStringLiteral("%1 is no regular file").arg(path);
        return std::nullopt;
    }
    if (info.size() > MaxBytes) {
        *error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(MaxBytes);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    archive.m_bytes = file.read(MaxBytes + 1);
    if (file.error() != QFileDevice::NoError || archive.m_bytes.size() > MaxBytes) {
        *error = QStringLiteral("%1: %2").arg(path, file.error() != QFileDevice::NoError
                                                        ? file.errorString()
                                                        : QStringLiteral("grew while read"));
        return std::nullopt;
    }
    for (const QString &line : QString::fromUtf8(archive.m_bytes).split(u'\n')) {
        const QString id = archivedForm(line);
        if (!id.isEmpty())
            archive.m_ids.insert(id);
    }
    return archive;
}

bool ExportArchive::contains(const QString &songId) const
{
    const QString id = archivedForm(songId);
    return !id.isEmpty() && m_ids.contains(id);
}

QByteArray ExportArchive::withAdded(const QStringList &songIds) const
{
    QByteArray bytes = m_bytes;
    QSet<QString> written = m_ids;
    for (const QString &songId : songIds) {
        const QString id = archivedForm(songId);
        if (id.isEmpty() || written.contains(id))
            continue;
        written.insert(id);
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += '\n';
        bytes += id.toUtf8() + '\n';
    }
    return bytes;
}

} // namespace Lumisong
