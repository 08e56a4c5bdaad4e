#include "net/httpresponseparser.h"

namespace Lumisong {

namespace {

constexpr qsizetype MaxChunkLine = 4096;

// The comma-separated tokens of a header value, trimmed and in lower case.
QList<QByteArray> tokens(const QByteArray &value)
{
    QList<QByteArray> list;
    for (const QByteArray &part : value.split(',')) {
        const QByteArray token = part.trimmed().toLower();
        if (!token.isEmpty())
            list.append(token);
    }
    return list;
}

// A Content-Length value: decimal digits only, no sign, no overflow.
qint64 parseLength(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 18)
        return -1;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A chunk size: hex digits up to an optional extension after ';'.
qint64 parseChunkSize(QByteArrayView line)
{
    const qsizetype semicolon = line.indexOf(';');
    const QByteArrayView digits = (semicolon >= 0 ? line.first(semicolon) : line).trimmed();
    if (digits.isEmpty() || digits.size() > 15)
        return -1;
    qint64 value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

HttpResponseParser::HttpResponseParser(qint64 maxBodyBytes)
    : m_maxBodyBytes(maxBodyBytes)
{
}

void HttpResponseParser::feed(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    m_receivedAnything = true;
    if (m_state == State::Complete) {
        m_extraBytes = true;
        return;
    }
    if (m_state == State::Failed)
        return;
    m_buffer.append(bytes);
    parse();
}

void HttpResponseParser::endOfStream()
{
    switch (m_state) {
    case State::Head:
        fail(m_receivedAnything ? QStringLiteral("the connection closed inside the answer head")
                                : QStringLiteral("the connection closed before an answer"));
        break;
    case State::Body:
        if (m_framing == Framing::UntilClose)
            complete();
        else if (m_framing == Framing::Length)
            fail(QStringLiteral("body cut off after %1 of %2 bytes")
                     .arg(m_body.size())
                     .arg(m_declaredLength));
        else
            fail(QStringLiteral("body cut off after %1 bytes").arg(m_body.size()));
        break;
    case State::Complete:
    case State::Failed:
        break;
    }
    m_keepAlive = false;
}

QByteArray HttpResponseParser::header(QByteArrayView name) const
{
    for (const auto &[key, value] : m_headers) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool HttpResponseParser::reusable() const
{
    return m_state == State::Complete && m_keepAlive && !m_extraBytes;
}

void HttpResponseParser::parse()
{
    bool progressed = true;
    while (progressed) {
        switch (m_state) {
        case State::Head:
            progressed = parseHead();
            break;
        case State::Body:
            progressed = parseBody();
            break;
        case State::Complete:
            if (m_pos < m_buffer.size())
                m_extraBytes = true;
            progressed = false;
            break;
        case State::Failed:
            progressed = false;
            break;
        }
    }
    // Keep only what is not consumed yet.
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
}

bool HttpResponseParser::takeLine(QByteArrayView *line)
{
    const qsizetype end = m_buffer.indexOf('\n', m_pos);
    if (end < 0)
        return false;
    QByteArrayView text(m_buffer.constData() + m_pos, end - m_pos);
    if (text.endsWith('\r'))
        text.chop(1);
    *line = text;
    m_pos = end + 1;
    return true;
}

bool HttpResponseParser::parseHead()
{
    // Lines are taken as they arrive; an interim (1xx) answer is skipped whole.
    QByteArrayView line;
    qsizetype lineStart = m_pos;
    while (takeLine(&line)) {
        m_headBytes += m_pos - lineStart;
        lineStart = m_pos;
        if (m_headBytes > MaxHeadBytes)
            break;
        if (!m_statusLineRead) {
            if (line.isEmpty())
                continue; // stray line ends before the status line
            // "HTTP/1.x NNN reason"
            if (!line.startsWith("HTTP/1.") || line.size() < 12 || line.at(7) < '0'
                || line.at(7) > '9' || line.at(8) != ' '
                || (line.size() > 12 && line.at(12) != ' ')) {
                fail(QStringLiteral("not an HTTP/1 answer"));
                return false;
            }
            const qint64 status = parseLength(line.sliced(9, 3));
            if (status < 100) {
                fail(QStringLiteral("not an HTTP/1 answer"));
                return false;
            }
            m_status = int(status);
            // HTTP/1.1 keeps the connection unless told otherwise; 1.0 closes it
            // unless told otherwise.
            m_keepAlive = line.at(7) != '0';
            m_statusLineRead = true;
            continue;
        }
        if (!line.isEmpty()) {
            if ((line.startsWith(' ') || line.startsWith('\t')) && !m_headers.isEmpty()) {
                m_headers.last().second += ' ' + line.trimmed().toByteArray(); // folded line
                continue;
            }
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0) {
                fail(QStringLiteral("malformed header line in the answer"));
                return false;
            }
            m_headers.append({line.first(colon).trimmed().toByteArray().toLower(),
                              line.sliced(colon + 1).trimmed().toByteArray()});
            continue;
        }
        // The empty line ends the head.
        if (m_status >= 100 && m_status < 200) {
            if (m_status == 101) {
                fail(QStringLiteral("the server switched protocols"));
                return false;
            }
            m_statusLineRead = false;
            m_headers.clear();
            m_headBytes = 0;
            return true; // an interim answer: read the next head
        }
        return startBody();
    }
    if (m_headBytes + (m_buffer.size() - m_pos) > MaxHeadBytes)
        fail(QStringLiteral("answer head longer than %1 bytes").arg(MaxHeadBytes));
    return false;
}

bool HttpResponseParser::startBody()
{
    const QList<QByteArray> connection = tokens(header("connection"));
    if (connection.contains("close"))
        m_keepAlive = false;
    else if (connection.contains("keep-alive"))
        m_keepAlive = true;

    const QByteArray encoding = header("content-encoding").trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity") {
        fail(QStringLiteral("the answer is encoded (%1), which was not asked for")
                 .arg(QString::fromLatin1(encoding)));
        return false;
    }

    // Content-Length may come more than once, or as a list; all must agree.
    bool lengthGiven = false;
    for (const auto &[key, value] : std::as_const(m_headers)) {
        if (key != "content-length")
            continue;
        for (const QByteArray &part : value.split(',')) {
            const qint64 length = parseLength(part.trimmed());
            if (length < 0 || (lengthGiven && length != m_declaredLength)) {
                fail(QStringLiteral("malformed Content-Length in the answer"));
                return false;
            }
            m_declaredLength = length;
            lengthGiven = true;
        }
    }

    m_state = State::Body;
    if (m_status == 204 || m_status == 304) {
        m_framing = Framing::None;
        complete();
        return true;
    }
    const QList<QByteArray> transfer = tokens(header("transfer-encoding"));
    if (!transfer.isEmpty()) {
        // Both framings at once cannot be trusted for the next answer.
        if (lengthGiven)
            m_keepAlive = false;
        m_declaredLength = -1;
        if (transfer.last() == "chunked") {
            m_framing = Framing::Chunked;
            m_chunkStep = ChunkStep::Size;
            return true;
        }
        m_framing = Framing::UntilClose;
        m_keepAlive = false;
        return true;
    }
    if (lengthGiven) {
        if (m_declaredLength > m_maxBodyBytes) {
            fail(QStringLiteral("body of %1 bytes exceeds the limit").arg(m_declaredLength));
            return false;
        }
        m_framing = Framing::Length;
        m_remaining = m_declaredLength;
        m_body.reserve(m_declaredLength);
        if (m_remaining == 0)
            complete();
        return true;
    }
    m_framing = Framing::UntilClose;
    m_keepAlive = false;
    return true;
}

bool HttpResponseParser::parseBody()
{
    const qsizetype available = m_buffer.size() - m_pos;
    switch (m_framing) {
    case Framing::None:
        complete();
        return true;
    case Framing::Length: {
        const qsizetype take = qsizetype(qMin<qint64>(m_remaining, available));
        m_body.append(m_buffer.constData() + m_pos, take);
        m_pos += take;
        m_remaining -= take;
        if (m_remaining > 0)
            return false;
        complete();
        return true;
    }
    case Framing::UntilClose:
        if (available == 0 || !bodyWithinLimit(m_body.size() + available))
            return false;
        m_body.append(m_buffer.constData() + m_pos, available);
        m_pos += available;
        return false;
    case Framing::Chunked:
        return parseChunked();
    }
    return false;
}

bool HttpResponseParser::parseChunked()
{
    QByteArrayView line;
    switch (m_chunkStep) {
    case ChunkStep::Size: {
        if (!takeLine(&line)) {
            if (m_buffer.size() - m_pos > MaxChunkLine)
                fail(QStringLiteral("malformed chunk size in the answer"));
            return false;
        }
        const qint64 size = parseChunkSize(line);
        if (size < 0) {
            fail(QStringLiteral("malformed chunk size in the answer"));
            return false;
        }
        if (size == 0) {
            m_chunkStep = ChunkStep::Trailer;
            return true;
        }
        if (!bodyWithinLimit(m_body.size() + size))
            return false;
        m_remaining = size;
        m_chunkStep = ChunkStep::Data;
        return true;
    }
    case ChunkStep::Data: {
        const qsizetype take = qsizetype(qMin<qint64>(m_remaining, m_buffer.size() - m_pos));
        m_body.append(m_buffer.constData() + m_pos, take);
        m_pos += take;
        m_remaining -= take;
        if (m_remaining > 0)
            return false;
        m_chunkStep = ChunkStep::DataEnd;
        return true;
    }
    case ChunkStep::DataEnd:
        if (!takeLine(&line))
            return false;
        if (!line.isEmpty()) {
            fail(QStringLiteral("malformed chunk in the answer"));
            return false;
        }
        m_chunkStep = ChunkStep::Size;
        return true;
    case ChunkStep::Trailer:
        while (takeLine(&line)) {
            if (line.isEmpty()) {
                complete();
                return true;
            }
        }
        if (m_buffer.size() - m_pos > MaxHeadBytes)
            fail(QStringLiteral("answer trailer longer than %1 bytes").arg(MaxHeadBytes));
        return false;
    }
    return false;
}

bool HttpResponseParser::bodyWithinLimit(qint64 size)
{
    if (size <= m_maxBodyBytes)
        return true;
    fail(QStringLiteral("body exceeds %1 bytes").arg(m_maxBodyBytes));
    return false;
}

void HttpResponseParser::fail(const QString &reason)
{
    m_state = State::Failed;
    m_error = reason;
    m_keepAlive = false;
    m_body.clear();
}

void HttpResponseParser::complete()
{
    m_state = State::Complete;
}

} // namespace Lumisong
