#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace Lumisong::Test {

// Peak memory of a whole run of the program: the program itself and a 16 MiB
// body with room to spare, far below what keeping a hostile stream would
// take. A runaway client ends at the address-space cap instead of taking the
// machine's memory.
#ifdef LUMISONG_SANITIZED
inline constexpr qint64 WholeRunMostRssKb = 600 * 1024; // shadow memory and quarantine
inline constexpr qint64 WholeRunAddressSpaceCap = 0;    // the sanitizers reserve terabytes
#else
inline constexpr qint64 WholeRunMostRssKb = 100 * 1024;
inline constexpr qint64 WholeRunAddressSpaceCap = qint64(3) << 30;
#endif

// The one way tests and benchmarks start a child process: runs a program to
// its end with this thread's event loop running (servers in this process
// answer meanwhile), and reports what a process table would: exit status,
// wall time and peak resident memory, with what it wrote.
class MeasuredRun
{
public:
    int exitCode = -1;      // -1: killed or ended by a signal
    bool timedOut = false;  // killed after timeoutMs
    double ms = 0;          // wall time
    qint64 maxRssKb = 0;    // the child's peak resident memory (ru_maxrss)
    QByteArray out;         // standard output
    QByteArray err;         // standard error

    struct Options
    {
        // The child's environment; an empty one inherits this process's.
        QProcessEnvironment environment;
        // Becomes the child's standard input (empty: an empty input).
        QByteArray input;
        // > 0 caps the child's address space (RLIMIT_AS), so a runaway child
        // ends on its own instead of taking the machine's memory.
        qint64 addressSpaceLimit = 0;
    };

    // A program without a slash is looked up on PATH.
    static MeasuredRun run(const QString &program, const QStringList &args, int timeoutMs,
                           const Options &options);
    static MeasuredRun run(const QString &program, const QStringList &args, int timeoutMs,
                           qint64 addressSpaceLimit = 0)
    {
        Options options;
        options.addressSpaceLimit = addressSpaceLimit;
        return run(program, args, timeoutMs, options);
    }
};

} // namespace Lumisong::Test
