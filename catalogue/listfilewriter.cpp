#include "catalogue/listfilewriter.h"

#include <QSaveFile>
#include <QStringEncoder>

namespace Lumisong {

namespace {

const QLatin1StringView kTrailer("//By Tolvane");
const QLatin1StringView kLineEnd("\r\n");

bool holdsLineBreak(const QString &line)
{
    return line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'));
}

} // namespace

ListFileWriter::ListFileWriter(QString path)
    : m_path(std::move(path))
{
}

std::optional<QByteArray> ListFileWriter::encode(const QStringList &addresses)
{
    QString text;
    qsizetype size = kTrailer.size() + kLineEnd.size();
    for (const QString &address : addresses)
        size += address.size() + kLineEnd.size();
    text.reserve(size);
    for (const QString &address : addresses) {
        if (holdsLineBreak(address))
            return std::nullopt;
        text += address;
        text += kLineEnd;
    }
    text += kTrailer;
    text += kLineEnd;

    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool ListFileWriter::canWrite()
{
    m_error.clear();
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    file.cancelWriting();
    return true;
}

bool ListFileWriter::write(const QStringList &addresses)
{
    m_error.clear();
    const std::optional<QByteArray> bytes = encode(addresses);
    if (!bytes) {
        m_error = QStringLiteral("an address cannot be written as one GBK line");
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    if (file.write(*bytes) != bytes->size() || !file.commit()) {
        m_error = file.errorString();
        file.cancelWriting(); // the destructor then removes the temporary file
        return false;
    }
    return true;
}

const QString &ListFileWriter::errorString() const
{
    return m_error;
}

} // namespace Lumisong
