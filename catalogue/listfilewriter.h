#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace Lumisong {

// Writes download lists (and what goes with them) as whole files: each goes
// to a temporary file in its target's folder, which takes the target's place
// only once everything is written. On any failure every target is exactly as
// before and no temporary file is left.
class ListFileWriter
{
public:
    struct File
    {
        QString path;
        QByteArray bytes;
    };

    // Checks up front that the target's folder takes the temporary file, so a
    // long run does not end on a folder that cannot be written; leaves nothing behind.
    bool canWrite(const QString &path);
    // All the files or none: when one cannot take its place, those placed
    // before it get their old contents back (or are removed if they were new).
    bool write(const QList<File> &files);
    const QString &errorString() const; // reason of the last failure, for logs

private:
    QString m_error;
};

} // namespace Lumisong
