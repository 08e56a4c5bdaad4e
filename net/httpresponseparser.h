#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

namespace Lumisong {

// Reads the answer to one GET from the bytes of an HTTP/1.x connection, as
// they come. Interim answers (1xx) are skipped. The body ends as the answer
// says: chunked, after Content-Length bytes, or with the connection. A
// Content-Encoding other than identity fails the answer, since the client
// never asks for one. Pure: no sockets, no events.
class HttpResponseParser
{
public:
    enum class State { Head, Body, Complete, Failed };

    static constexpr qsizetype MaxHeadBytes = 64 * 1024;

    explicit HttpResponseParser(qint64 maxBodyBytes = 16 * 1024 * 1024);

    // The bytes that arrived. Bytes after a complete answer are kept out of it
    // and make the connection unfit for another request.
    void feed(QByteArrayView bytes);
    // The connection ended: a body that runs to the end of the connection is
    // complete; any other unfinished answer fails.
    void endOfStream();

    State state() const { return m_state; }
    bool receivedAnything() const { return m_receivedAnything; }
    const QString &error() const { return m_error; }

    // Valid once the head is read.
    int status() const { return m_status; }
    QByteArray header(QByteArrayView name) const; // first value; names without case
    qint64 declaredLength() const { return m_declaredLength; } // -1: none
    // Complete, the server keeps the connection open, and sent nothing more.
    bool reusable() const;

    const QByteArray &body() const { return m_body; }
    QByteArray takeBody() { return std::exchange(m_body, {}); }

private:
    enum class Framing { None, Length, Chunked, UntilClose };
    enum class ChunkStep { Size, Data, DataEnd, Trailer };

    void parse();
    bool parseHead();
    bool startBody();
    bool parseBody();
    bool parseChunked();
    // The next line ending at LF from m_pos, without its CR LF; false when
    // no whole line has arrived yet.
    bool takeLine(QByteArrayView *line);
    void fail(const QString &reason);
    void complete();
    bool bodyWithinLimit(qint64 size);

    qint64 m_maxBodyBytes;
    State m_state = State::Head;
    QByteArray m_buffer;  // bytes not yet consumed start at m_pos
    qsizetype m_pos = 0;
    bool m_receivedAnything = false;
    bool m_extraBytes = false;
    QString m_error;

    int m_status = 0;
    bool m_statusLineRead = false;
    qsizetype m_headBytes = 0; // of the head being read
    bool m_keepAlive = false;
    QList<std::pair<QByteArray, QByteArray>> m_headers; // names in lower case
    qint64 m_declaredLength = -1;

    Framing m_framing = Framing::None;
    ChunkStep m_chunkStep = ChunkStep::Size;
    qint64 m_remaining = 0; // of the declared body or of the current chunk
    QByteArray m_body;
};

} // namespace Lumisong
