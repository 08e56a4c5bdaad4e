#include "tools/demosite/songfile.h"

#include <QCryptographicHash>

#include <algorithm>
#include <optional>
#include <utility>

namespace Lumisong::SongFile {

namespace {

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no padding, mono: 144 * 128000 / 44100 bytes.
constexpr char FrameHeader[] = "\xFF\xFB\x90\xC0";
constexpr int FrameBytes = 417;

// "ID3" v2.4 with a TXXX frame naming the song, so that each file differs.
QByteArray id3Head(const QString &songId, int revision)
{
    QByteArray text = QByteArray("\x03", 1) + "lumisong-demo" + '\0' + songId.toUtf8() + '/'
                      + QByteArray::number(revision);
    QByteArray frame = "TXXX";
    const auto syncsafe = [](qint64 value) {
        QByteArray bytes(4, '\0');
        for (int i = 3; i >= 0; --i, value >>= 7)
            bytes[i] = char(value & 0x7F);
        return bytes;
    };
    frame += syncsafe(text.size()) + QByteArray(2, '\0') + text;
    return QByteArray("ID3\x04\x00\x00", 6) + syncsafe(frame.size()) + frame;
}

// "bytes=A-" or "bytes=A-B" as [first, last]; nullopt for anything else.
std::optional<std::pair<qint64, qint64>> parseRange(const QByteArray &value, qint64 size)
{
    if (!value.startsWith("bytes=") || value.contains(','))
        return std::nullopt;
    const QByteArray spec = value.mid(6).trimmed();
    const qsizetype dash = spec.indexOf('-');
    if (dash <= 0)
        return std::nullopt;
    bool ok = false;
    const qint64 first = spec.left(dash).toLongLong(&ok);
    if (!ok || first < 0)
        return std::nullopt;
    qint64 last = size - 1;
    if (dash + 1 < spec.size()) {
        last = spec.mid(dash + 1).toLongLong(&ok);
        if (!ok || last < first)
            return std::nullopt;
    }
    return std::pair{first, std::min(last, size - 1)};
}

} // namespace

QByteArray mp3(const QString &songId, qint64 size, int revision)
{
    QByteArray bytes = id3Head(songId, revision);
    size = std::max<qint64>(size, bytes.size() + FrameBytes);
    QByteArray frame(FrameBytes, '\0');
    std::copy_n(FrameHeader, 4, frame.begin());
    bytes.reserve(size);
    while (bytes.size() < size)
        bytes += frame.left(size - bytes.size());
    return bytes;
}

QByteArray headerValue(const QByteArray &head, const QByteArray &name)
{
    const QByteArray wanted = name.toLower() + ':';
    for (const QByteArray &line : head.split('\n')) {
        if (line.toLower().startsWith(wanted))
            return line.mid(wanted.size()).trimmed();
    }
    return {};
}

ScriptedAnswer answer(const QByteArray &bytes, const QByteArray &requestHead,
                      const QByteArray &lastModified)
{
    const QByteArray etag =
        '"' + QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16) + '"';
    ScriptedAnswer file;
    file.headers = {{"Content-Type", "audio/mpeg"}, {"Accept-Ranges", "bytes"},
                    {"ETag", etag}, {"Last-Modified", lastModified}};
    const QByteArray range = headerValue(requestHead, "Range");
    const QByteArray ifRange = headerValue(requestHead, "If-Range");
    const qint64 size = bytes.size();
    const std::optional<std::pair<qint64, qint64>> span =
        range.isEmpty() ? std::nullopt : parseRange(range, size);
    const bool validatorHolds = ifRange.isEmpty() || ifRange == etag || ifRange == lastModified;
    if (!span || !validatorHolds) { // a changed file is sent whole
        file.body = bytes;
        return file;
    }
    if (span->first >= size) {
        file.status = 416;
        file.headers.append({"Content-Range", "bytes */" + QByteArray::number(size)});
        return file;
    }
    file.status = 206;
    file.headers.append({"Content-Range", "bytes " + QByteArray::number(span->first) + '-'
                                              + QByteArray::number(span->second) + '/'
                                              + QByteArray::number(size)});
    file.body = bytes.mid(span->first, span->second - span->first + 1);
    return file;
}

} // namespace Lumisong::SongFile
