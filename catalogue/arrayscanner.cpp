#include "catalogue/arrayscanner.h"

#include <algorithm>

namespace Lumisong {

namespace {

// Polynomial hash modulo 2^64 of a tail, built from its last character back:
// h(s) = sum s[i] * Base^i. A collision only costs a text comparison.
constexpr quint64 Base = 0x9E3779B97F4A7C15ull;

quint64 hashOf(QStringView text)
{
    quint64 hash = 0;
    for (qsizetype i = text.size(); i-- > 0;)
        hash = hash * Base + text[i].unicode();
    return hash;
}

quint64 keyOf(quint64 hash, qsizetype length)
{
    return hash ^ (quint64(length) * 0xC2B2AE3D27D4EB4Full);
}

} // namespace

ArrayScanner::ArrayScanner(QStringView arrayText) : m_text(arrayText) {}

std::optional<QStringView> ArrayScanner::nextRecord()
{
    while (!m_finished) {
        const Chunk chunk = bringUpToDate(takeChunk(), int(m_patterns.size()));
        if (!chunk.complete) {
            m_finished = true; // a "{" without a "}" after it, or nothing left
            break;
        }
        if (chunk.firstBrace < 0)
            continue; // no "{" here: never part of a record
        if (chunk.firstBrace == 2) {
            m_finished = true; // "{}": the empty record ends the list
            break;
        }
        // Moving a QString keeps its characters in place, so the view stays valid.
        m_patterns.push_back(tailText(chunk, chunk.firstBrace));
        const QStringView pattern = m_patterns.back();
        const quint64 hash = chunk.singleBrace ? chunk.braceHash : hashOf(pattern);
        m_removalsByKey[keyOf(hash, pattern.size())].push_back(int(m_patterns.size()));
        m_longestPattern = std::max(m_longestPattern, pattern.size());
        return pattern.sliced(1, pattern.size() - 2);
    }
    return std::nullopt;
}

ArrayScanner::Chunk ArrayScanner::takeChunk()
{
    Chunk chunk;
    if (m_next > m_text.size()) {
        chunk.complete = false;
        return chunk;
    }
    const qsizetype begin = m_next;
    qsizetype end = m_text.indexOf(u'}', begin);
    if (end < 0) {
        chunk.complete = false;
        end = m_text.size();
        m_next = m_text.size() + 1;
    } else {
        ++end;
        m_next = end;
    }
    chunk.length = end - begin;
    if (chunk.length > 0) {
        m_segments.push_back({begin, end, -1, -1});
        chunk.head = chunk.tail = int(m_segments.size()) - 1;
    }
    quint64 hash = 0;
    int braces = 0;
    for (qsizetype i = end; i-- > begin;) {
        const char16_t c = m_text[i].unicode();
        hash = hash * Base + c;
        if (c == u'{') {
            ++braces;
            chunk.firstBrace = end - i;
            chunk.braceHash = hash;
        }
    }
    chunk.singleBrace = braces == 1 && chunk.complete;
    return chunk;
}

ArrayScanner::Chunk ArrayScanner::bringUpToDate(Chunk chunk, int target)
{
    // Iterative, since one removal can join a long row of chunks: each frame is
    // the cut front part of a chunk waiting for the chunk after it to reach the
    // level of that removal.
    struct Waiting
    {
        Chunk front;
        int target;
    };
    std::vector<Waiting> waiting;
    for (;;) {
        if (const std::optional<Trim> cut = firstTrim(chunk, target)) {
            trim(chunk, cut->length);
            waiting.push_back({chunk, target});
            chunk = takeChunk();
            target = cut->removal;
            continue;
        }
        chunk.level = target;
        if (waiting.empty())
            return chunk;
        const Waiting frame = waiting.back();
        waiting.pop_back();
        chunk = join(frame.front, chunk);
        chunk.level = target;
        target = frame.target;
    }
}

std::optional<ArrayScanner::Trim> ArrayScanner::firstTrim(const Chunk &chunk, int target) const
{
    std::optional<Trim> best;
    if (chunk.level >= target || !chunk.complete)
        return best;
    if (chunk.singleBrace) {
        if (chunk.firstBrace > m_longestPattern)
            return best;
        if (const auto removal = firstRemovalOf(chunk, chunk.braceHash, chunk.firstBrace, target + 1))
            best = Trim{*removal, chunk.firstBrace};
        return best;
    }
    quint64 hash = 0;
    qsizetype length = 0;
    for (int s = chunk.tail; s >= 0 && length < m_longestPattern; s = m_segments[s].prev) {
        const Segment &segment = m_segments[s];
        for (qsizetype i = segment.end; i-- > segment.begin && length < m_longestPattern;) {
            const char16_t c = m_text[i].unicode();
            hash = hash * Base + c;
            ++length;
            if (c != u'{')
                continue;
            const int below = best ? best->removal : target + 1;
            if (const std::optional<int> removal = firstRemovalOf(chunk, hash, length, below))
                best = Trim{*removal, length};
        }
    }
    return best;
}

// The first removal after the chunk's level and before `below` whose pattern is
// the chunk's tail of this length and hash.
std::optional<int> ArrayScanner::firstRemovalOf(const Chunk &chunk, quint64 hash,
                                                qsizetype length, int below) const
{
    const auto found = m_removalsByKey.constFind(keyOf(hash, length));
    if (found == m_removalsByKey.cend())
        return std::nullopt;
    const std::vector<int> &removals = found.value();
    for (auto it = std::upper_bound(removals.begin(), removals.end(), chunk.level);
         it != removals.end() && *it < below; ++it) {
        const QString &pattern = m_patterns[std::size_t(*it - 1)];
        if (pattern.size() == length && endsWith(chunk, pattern))
            return *it;
    }
    return std::nullopt;
}

bool ArrayScanner::endsWith(const Chunk &chunk, QStringView pattern) const
{
    qsizetype left = pattern.size();
    for (int s = chunk.tail; s >= 0 && left > 0; s = m_segments[s].prev) {
        const Segment &segment = m_segments[s];
        const qsizetype take = std::min(left, segment.end - segment.begin);
        if (m_text.sliced(segment.end - take, take) != pattern.sliced(left - take, take))
            return false;
        left -= take;
    }
    return left == 0;
}

void ArrayScanner::trim(Chunk &chunk, qsizetype length)
{
    qsizetype left = length;
    while (left > 0) {
        Segment &segment = m_segments[std::size_t(chunk.tail)];
        const qsizetype size = segment.end - segment.begin;
        if (size > left) {
            segment.end -= left;
            break;
        }
        left -= size;
        chunk.tail = segment.prev;
        if (chunk.tail >= 0)
            m_segments[std::size_t(chunk.tail)].next = -1;
        else
            chunk.head = -1;
    }
    chunk.length -= length;
    chunk.firstBrace = chunk.firstBrace > length ? chunk.firstBrace - length : -1;
    chunk.singleBrace = false;
}

ArrayScanner::Chunk ArrayScanner::join(const Chunk &front, const Chunk &back)
{
    if (front.length == 0)
        return back;
    Chunk joined = back;
    joined.head = front.head;
    if (back.head >= 0) {
        m_segments[std::size_t(front.tail)].next = back.head;
        m_segments[std::size_t(back.head)].prev = front.tail;
    } else {
        joined.tail = front.tail;
    }
    joined.length = front.length + back.length;
    joined.singleBrace = false;
    if (front.firstBrace >= 0)
        joined.firstBrace = front.firstBrace + back.length;
    return joined;
}

QString ArrayScanner::tailText(const Chunk &chunk, qsizetype length) const
{
    QString text(length, Qt::Uninitialized);
    qsizetype left = length;
    for (int s = chunk.tail; s >= 0 && left > 0; s = m_segments[s].prev) {
        const Segment &segment = m_segments[s];
        const qsizetype take = std::min(left, segment.end - segment.begin);
        std::copy_n(m_text.data() + segment.end - take, take, text.data() + left - take);
        left -= take;
    }
    return text;
}

} // namespace Lumisong
