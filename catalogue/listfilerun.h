#pragma once

#include <QString>

#include <functional>

namespace Lumisong {

class Catalogue;

// One run of "write the ticked songs to a list file", shared by the main
// window and the headless export so that both write the same bytes.
//
// Every ticked song is resolved afresh, in list order. The tick of a row is
// read when the run reaches that row, so ticks changed during the run count
// from there on. The addresses are collected first and the file is written
// in one go at the end: whatever stops the run (a failed request, the program
// ending) leaves the chosen file as it was.
class ListFileRun
{
public:
    enum class Outcome { Written, ResolveFailed, WriteFailed };

    using TickQuery = std::function<bool(int slot)>;
    // Called before each ticked song is resolved, with the number of ticked
    // songs finished so far (0 for the first).
    using SongStarted = std::function<void(int finished)>;

    ListFileRun(Catalogue &catalogue, TickQuery isTicked);

    int countTicked() const; // over the catalogue's rows, now
    Outcome run(const QString &path, const SongStarted &songStarted = {});

    int failedSlot() const;       // the slot whose address failed, or -1
    QString errorString() const;  // reason of the last failure, for logs

private:
    Catalogue &m_catalogue;
    TickQuery m_isTicked;
    int m_failedSlot = -1;
    QString m_error;
};

} // namespace Lumisong
