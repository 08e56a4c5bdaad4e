#pragma once

#include <QByteArray>
#include <QString>

#include "tools/demosite/scriptedanswer.h"

namespace Lumisong {

// The demo site's song files: real MP3 data (an ID3 head, then silent MPEG-1
// Layer III frames, 128 kbit/s, 44.1 kHz, mono), and their answers with the
// validators and byte ranges a file server gives.
namespace SongFile {

// A file of exactly `size` bytes (at least the ID3 head and one frame; the
// last frame may be cut); `revision` changes a byte of the head, so that a
// new revision is a changed file of the same size.
QByteArray mp3(const QString &songId, qint64 size, int revision = 0);

// About three seconds of audio.
inline constexpr qint64 DefaultSize = 48 * 1024;

// The answer to a GET of `bytes` whose request head is `requestHead`: 200
// with ETag and Last-Modified, or 206 for a satisfiable "Range: bytes=A-" /
// "bytes=A-B" whose If-Range (when sent) matches the ETag or the date; 416
// for a range that starts at or after the end.
ScriptedAnswer answer(const QByteArray &bytes, const QByteArray &requestHead,
                      const QByteArray &lastModified);

// The value of a header in a request head ("Name: value" lines), empty when absent.
QByteArray headerValue(const QByteArray &head, const QByteArray &name);

} // namespace SongFile
} // namespace Lumisong
