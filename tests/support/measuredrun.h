#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Lumisong::Test {

// Runs a program to its end as a child process with this thread's event loop
// running (servers in this process answer meanwhile), and reports what a
// process table would: exit status, wall time and peak resident memory.
// The child inherits this process's environment.
class MeasuredRun
{
public:
    int exitCode = -1;      // -1: killed or ended by a signal
    bool timedOut = false;  // killed after timeoutMs
    double ms = 0;          // wall time
    qint64 maxRssKb = 0;    // the child's peak resident memory (ru_maxrss)
    QByteArray out;         // standard output
    QByteArray err;         // standard error

    // addressSpaceLimit > 0 caps the child's address space (RLIMIT_AS), so a
    // runaway child ends on its own instead of taking the machine's memory.
    static MeasuredRun run(const QString &program, const QStringList &args, int timeoutMs,
                           qint64 addressSpaceLimit = 0);
};

} // namespace Lumisong::Test
