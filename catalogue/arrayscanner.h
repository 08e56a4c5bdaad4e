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
// the next record reaches it. A removal can only cut a tail that starts at a
// "{" and is no longer than the longest record so far; such tails are found by
// hashing backwards from the chunk's end and confirmed by comparing text. A join
// made by removal k is checked from removal k+1 on, as the single pass of the
// loop leaves it.
//
// Costs: one pass over the text plus the records when no removal joins chunks
// (the site writes distinct objects). Joins cost a walk over at most the longest
// record per chunk they touch; never a different result.
class ArrayScanner
{
public:
    explicit ArrayScanner(QStringView arrayText);

    // The next record text (without braces), valid as long as the scanner;
    // nullopt once the loop has stopped.
    std::optional<QStringView> nextRecord();

private:
    struct Segment
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        int prev = -1;
        int next = -1;
    };
    // A piece of the current text: a list of segments of the original text.
    struct Chunk
    {
        int head = -1;
        int tail = -1;
        qsizetype length = 0;
        qsizetype firstBrace = -1;   // length of the tail that starts at the first "{"
        int level = 0;               // removals applied so far
        bool complete = true;        // ends with "}"; false for the text after the last "}"
        // Untouched text with a single "{": the hash of the tail from it, so
        // that a page of distinct objects is hashed once.
        bool singleBrace = false;
        quint64 braceHash = 0;
    };
    struct Trim
    {
        int removal = 0;
        qsizetype length = 0;
    };

    Chunk takeChunk();
    Chunk bringUpToDate(Chunk chunk, int target);
    std::optional<Trim> firstTrim(const Chunk &chunk, int target) const;
    std::optional<int> firstRemovalOf(const Chunk &chunk, quint64 hash, qsizetype length,
                                      int below) const;
    bool endsWith(const Chunk &chunk, QStringView pattern) const;
    void trim(Chunk &chunk, qsizetype length);
    Chunk join(const Chunk &front, const Chunk &back);
    QString tailText(const Chunk &chunk, qsizetype length) const;

    QStringView m_text;
    qsizetype m_next = 0;             // start of the next untouched chunk
    bool m_finished = false;
    std::vector<Segment> m_segments;
    std::vector<QString> m_patterns;  // "{" + record + "}" of removal k at k - 1
    QHash<quint64, std::vector<int>> m_removalsByKey;
    qsizetype m_longestPattern = 0;
};

} // namespace Lumisong
