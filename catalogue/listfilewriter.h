#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace Lumisong {

// Writes a download list file: one address per line, then the trailer line
// "//By Tolvane", every line ended by CR LF, text in GBK (code page 936).
//
// The file is replaced as a whole: the list goes to a temporary file in the
// target's folder, which takes the target's place only once everything is
// written. On any failure the target is exactly as before and the temporary
// file is gone.
class ListFileWriter
{
public:
    explicit ListFileWriter(QString path);

    // The complete file contents; nullopt when an address holds a line break
    // or a character GBK cannot represent (the line would not read back as written).
    static std::optional<QByteArray> encode(const QStringList &addresses);

    // Checks up front that the target's folder takes the temporary file, so a
    // long run does not end on a folder that cannot be written; leaves nothing behind.
    bool canWrite();
    bool write(const QStringList &addresses); // true when the target now holds the list
    const QString &errorString() const;       // reason of the last failure, for logs

private:
    QString m_path;
    QString m_error;
};

} // namespace Lumisong
