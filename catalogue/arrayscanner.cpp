#include "catalogue/arrayscanner.h"

#include <algorithm>
#include <utility>

namespace Lumisong {

namespace {

// Polynomial hash modulo 2^64: h(s) = sum s[i] * Base^i. Collisions only cost a
// text comparison, never a wrong result.
constexpr quint64 Base = 0x9E3779B97F4A7C15ull | 1u;

quint64 power(qsizetype exponent)
{
    quint64 result = 1;
    quint64 factor = Base;
    for (auto e = quint64(exponent); e != 0; e >>= 1) {
        if (e & 1u)
            result *= factor;
        factor *= factor;
    }
    return result;
}

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

std::optional<QString> ArrayScanner::nextRecord()
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
        QString pattern = tailText(chunk, chunk.firstBrace);
        const quint64 hash = hashOf(pattern);
        m_removalsByKey[keyOf(hash, pattern.size())].push_back(int(m_patterns.size()) + 1);
        m_patternHashes.push_back(hash);
        m_patterns.push_back(pattern);
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
    const QChar *data = m_text.data();
    for (qsizetype i = end; i-- > begin;) {
        hash = hash * Base + data[i].unicode();
        if (data[i] == u'{') {
            const qsizetype length = end - i;
            chunk.firstBrace = length;
            if (chunk.complete)
                chunk.candidates.push_back({hash, length});
        }
    }
    chunk.hash = hash;
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
            trim(chunk, *cut);
            waiting.push_back({std::move(chunk), target});
            chunk = takeChunk();
            target = cut->removal;
            continue;
        }
        chunk.level = target;
        if (waiting.empty())
            return chunk;
        Waiting frame = std::move(waiting.back());
        waiting.pop_back();
        chunk = join(std::move(frame.front), std::move(chunk));
        chunk.level = target;
        target = frame.target;
    }
}

std::optional<ArrayScanner::Trim> ArrayScanner::firstTrim(const Chunk &chunk, int target) const
{
    std::optional<Trim> best;
    for (const Candidate &candidate : chunk.candidates) {
        const auto found = m_removalsByKey.constFind(keyOf(candidate.hash, candidate.length));
        if (found == m_removalsByKey.cend())
            continue;
        const std::vector<int> &removals = found.value();
        for (auto it = std::upper_bound(removals.begin(), removals.end(), chunk.level);
             it != removals.end() && *it <= target && (!best || *it < best->removal); ++it) {
            const QString &pattern = m_patterns[*it - 1];
            if (pattern.size() == candidate.length && endsWith(chunk, pattern)) {
                best = Trim{*it, candidate.length};
                break;
            }
        }
    }
    return best;
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

void ArrayScanner::trim(Chunk &chunk, const Trim &cut)
{
    const quint64 cutHash = m_patternHashes[cut.removal - 1];
    qsizetype left = cut.length;
    while (left > 0) {
        Segment &segment = m_segments[chunk.tail];
        const qsizetype size = segment.end - segment.begin;
        if (size > left) {
            segment.end -= left;
            break;
        }
        left -= size;
        chunk.tail = segment.prev;
        if (chunk.tail >= 0)
            m_segments[chunk.tail].next = -1;
        else
            chunk.head = -1;
    }
    // h(x + p) = h(x) + Base^|x| * h(p)
    chunk.length -= cut.length;
    chunk.hash -= power(chunk.length) * cutHash;
    std::erase_if(chunk.candidates, [&](const Candidate &c) { return c.length <= cut.length; });
    for (Candidate &candidate : chunk.candidates) {
        candidate.length -= cut.length;
        candidate.hash -= power(candidate.length) * cutHash;
    }
    chunk.firstBrace = chunk.firstBrace > cut.length ? chunk.firstBrace - cut.length : -1;
}

ArrayScanner::Chunk ArrayScanner::join(Chunk front, Chunk back)
{
    if (front.length == 0)
        return back;
    Chunk joined;
    joined.head = front.head;
    joined.tail = back.tail >= 0 ? back.tail : front.tail;
    if (back.head >= 0) {
        m_segments[front.tail].next = back.head;
        m_segments[back.head].prev = front.tail;
    }
    joined.length = front.length + back.length;
    joined.hash = front.hash + power(front.length) * back.hash;
    joined.firstBrace = front.firstBrace >= 0 ? front.firstBrace + back.length : back.firstBrace;
    joined.complete = back.complete;
    if (joined.complete) {
        const quint64 backHash = back.hash;
        for (const Candidate &candidate : front.candidates) {
            joined.candidates.push_back(
                {candidate.hash + power(candidate.length) * backHash, candidate.length + back.length});
        }
        joined.candidates.insert(joined.candidates.end(), back.candidates.begin(),
                                 back.candidates.end());
    }
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
