#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

#include "catalogue/listformat.h"

namespace Lumisong {

class AddressResolver;
class Catalogue;
class ExportArchive;
struct AddressResult;

// One run of "write the ticked songs to a list file", shared by the main
// window and the headless export so that both write the same bytes. It does
// not wait: started, it runs on the event loop and ends with finished().
//
// Every ticked song is resolved afresh. Up to the run's Parallelism addresses are
// asked for at a time, the next ticked rows in list order; the tick of a row
// is read when the run reaches that row, so ticks changed during the run count
// from there on. Answers may come in any order but are taken in list order:
// progress and the songs' downloadUrl follow the list, and the file holds the
// same bytes as a run that asks one song at a time. The file is written in
// one go at the end, in the run's format: whatever stops the run leaves the
// chosen file (and the archive, when the run keeps one) as it was. A run
// started without a file resolves the same way and hands the songs over in
// entries() instead, for callers that send them elsewhere.
//
// The first failed address ends the run at once: no further request starts,
// those under way are aborted, and no song after the failed one takes an answer.
class ListFileRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListFileRun)

public:
    enum class Outcome { Written, ResolveFailed, WriteFailed, Aborted };
    Q_ENUM(Outcome)

    using TickQuery = std::function<bool(int slot)>;

    // How many addresses the run asks for at a time: `requests`, or `streams`
    // once an answer has come over a connection that carries requests side by
    // side (HTTP/2), if that is more. Values below 1 count as 1.
    struct Parallelism
    {
        int requests = 1;
        int streams = 1;
    };

    // The catalogue must outlive the run.
    ListFileRun(Catalogue &catalogue, TickQuery isTicked, Parallelism parallelism,
                QObject *parent = nullptr);
    ~ListFileRun() override;


    // The kind of list written; ListFormat::Lst unless set before start().
    void setFormat(ListFormat format) { m_format = format; }
    // Set before start(): the archive is written back with the ids of the
    // songs just written, together with the list (both or neither). It must
    // outlive the run.
    void setArchive(const ExportArchive *archive) { m_archive = archive; }

    int countTicked() const; // over the catalogue's rows, now

    // Once. finished() follows from the event loop, never inside start().
    void start(const QString &path);
    // Once, instead of start(): writes no file and no archive; the run then
    // ends as Written once every address is in entries().
    void startWithoutFile();
    // The ticked songs with their addresses, in list order, once the run has
    // ended as Written.
    const std::vector<ListEntry> &entries() const { return m_entries; }
    // Ends a run under way as Aborted, emitting finished() inside this call.
    void abort();
    // While held, the run asks for no further address and writes nothing;
    // answers already asked for are still taken. Released, it goes on from
    // the event loop.
    void setHeld(bool held);

    // Reason of a failure, for logs; a failed address names its row, from 1.
    QString errorString() const { return m_error; }

signals:
    // The number of ticked songs done, counted in list order from the first:
    // 0 when the first is asked for, then each number up to the count less
    // one, in turn; the numbers a run that asks one song at a time shows
    // before each song. None for a run without ticked songs.
    void progress(int finished);
    void finished(Lumisong::ListFileRun::Outcome outcome);

private:
    struct Pick
    {
        int slot;
        bool answered = false;
        QString downloadUrl;
    };

    void begin();
    void askForMore();
    int window() const;
    void onResolved(const AddressResult &result);
    void showProgress();
    void finishEntries();
    void writeFile();
    void end(Outcome outcome);

    Catalogue &m_catalogue;
    TickQuery m_isTicked;
    AddressResolver *m_resolver;
    int m_parallel;
    int m_streams;
    bool m_multiplexed = false; // the site answered over HTTP/2
    ListFormat m_format = ListFormat::Lst;
    const ExportArchive *m_archive = nullptr;
    QString m_path;
    bool m_writesFile = true;
    std::vector<ListEntry> m_entries; // filled at the end
    std::vector<Pick> m_picks;   // ticked songs reached so far, in list order
    int m_nextRow = 0;           // the next row to read the tick of
    int m_taken = 0;             // picks answered in list order
    int m_shown = -1;            // last progress told
    bool m_started = false;
    bool m_held = false;
    bool m_finished = false;
    QString m_error;
};

} // namespace Lumisong
