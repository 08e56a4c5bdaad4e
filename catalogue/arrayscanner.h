#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Lumisong {

// Yields the records of the song array text exactly as this loop would, without
// copying the text once per record:
//
//     loop: record = text between the first "{" and the next "}"; stop if empty;
//           remove every copy of "{" + record + "}" in one pass from the start.
//
// Why it can work lazily: the text is a row of chunks, each ending at a "}".
// A copy of "{" + record + "}" holds a single "}", at its end, so a removal cuts
// the tail off one chunk, and what is left of that chunk joins the next one. A
// chunk's fate therefore depends only on itself and on the chunks after it, and
// everything before the first "{" never matters again. So each chunk is brought
// up to date (all removals so far applied, in order) only when the search for
// the next record reaches it. Copies are found through hashes of the chunk tails
// that start at a "{" and confirmed by comparing text. Removals that join chunks
// (and so may create copies that the single pass of a removal did not see) are
// applied as the loop would: a join made by removal k is checked from removal
// k+1 on.
//
// Costs: one pass over the text plus the records, as long as joins are rare (the
// site writes distinct objects); pathological texts with many joins cost more,
// never a different result.
class ArrayScanner
{
public:
    explicit ArrayScanner(QStringView arrayText);

    // The next record text (without braces); nullopt once the loop has stopped.
    std::optional<QString> nextRecord();

private:
    struct Segment
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        int prev = -1;
        int next = -1;
    };
    // A tail of a chunk that starts at a "{"; only these can be removed.
    struct Candidate
    {
        quint64 hash = 0;
        qsizetype length = 0;
    };
    // A piece of the current text: a list of segments of the original text.
    struct Chunk
    {
        int head = -1;
        int tail = -1;
        qsizetype length = 0;
        quint64 hash = 0;
        qsizetype firstBrace = -1;   // length of the tail that starts at the first "{"
        std::vector<Candidate> candidates;
        int level = 0;               // removals applied so far
        bool complete = true;        // ends with "}"; false for the text after the last "}"
    };
    struct Trim
    {
        int removal = 0;
        qsizetype length = 0;
    };

    Chunk takeChunk();
    Chunk bringUpToDate(Chunk chunk, int target);
    std::optional<Trim> firstTrim(const Chunk &chunk, int target) const;
    bool endsWith(const Chunk &chunk, QStringView pattern) const;
    void trim(Chunk &chunk, const Trim &cut);
    Chunk join(Chunk front, Chunk back);
    QString tailText(const Chunk &chunk, qsizetype length) const;

    QStringView m_text;
    qsizetype m_next = 0;             // start of the next untouched chunk
    bool m_finished = false;
    std::vector<Segment> m_segments;
    std::vector<QString> m_patterns;  // "{" + record + "}" of removal k at k - 1
    std::vector<quint64> m_patternHashes;
    QHash<quint64, std::vector<int>> m_removalsByKey;
};

} // namespace Lumisong
