#pragma once

// Times a run of the built program as a child process, for the benchmarks that
// start it against a demo site in their own process.

#include "measuredrun.h"

namespace Lumisong::Bench {

// Runs `program` to its end, at most timeoutMs, with this thread's event loop
// running (the demo site answers on it). The wall time in milliseconds, or -1
// when it did not end in time or ended with a status other than 0.
inline double timeProgram(const QString &program, const QStringList &args, int timeoutMs)
{
    const Test::MeasuredRun run = Test::MeasuredRun::run(program, args, timeoutMs);
    return run.exitCode == 0 && !run.timedOut ? run.ms : -1;
}

} // namespace Lumisong::Bench
