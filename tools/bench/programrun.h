#pragma once

// Times a run of the built program as a child process, for the benchmarks that
// start it against a demo site in their own process.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace Lumisong::Bench {

// Runs `program` to its end, at most timeoutMs, with this thread's event loop
// running (the demo site answers on it). The wall time in milliseconds, or -1
// when it did not end in time or ended with a status other than 0.
inline double timeProgram(const QString &program, const QStringList &args, int timeoutMs)
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    loop.exec();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? ms : -1;
}

} // namespace Lumisong::Bench
