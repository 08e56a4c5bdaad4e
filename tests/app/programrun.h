#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

// Runs the built program (LUMISONG_BINARY) and other programs as child
// processes for the tests of the headless modes.
namespace Lumisong {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program as a user without a display would: no X, no Wayland, no
// QT_QPA_PLATFORM, no download manager's secret, plus the variables of `extra`.
// The demo site answers on this thread's event loop, so the wait must keep
// the loop running.
inline Run runProgram(const QString &program, const QStringList &args,
                      const QString &runtimeDir = QString(),
                      const QProcessEnvironment &extra = QProcessEnvironment())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LUMISONG_RPC_SECRET"})
        env.remove(QString::fromLatin1(name));
    if (!runtimeDir.isEmpty())
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(extra);
    QProcess process;
    process.setProcessEnvironment(env);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, args);
    Run run;
    if (!process.waitForStarted(10000) || !finished.wait(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

#ifdef LUMISONG_BINARY
// The built program.
inline Run runLumisong(const QStringList &args, const QString &runtimeDir = QString(),
                       const QProcessEnvironment &extra = QProcessEnvironment())
{
    return runProgram(QStringLiteral(LUMISONG_BINARY), args, runtimeDir, extra);
}
#endif

} // namespace Lumisong
