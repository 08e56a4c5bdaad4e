#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "tests/support/measuredrun.h"

// Runs the built program (LUMISONG_BINARY) and other programs as child
// processes for the tests of the headless modes.
namespace Lumisong {

using Run = Test::MeasuredRun;

// Runs a program as a user without a display would: no X, no Wayland, no
// QT_QPA_PLATFORM, no download manager's secret, plus the variables of `extra`.
// Killed after a minute (exit code -1).
inline Run runProgram(const QString &program, const QStringList &args,
                      const QString &runtimeDir = QString(),
                      const QProcessEnvironment &extra = QProcessEnvironment())
{
    Run::Options options;
    options.environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LUMISONG_RPC_SECRET"})
        options.environment.remove(QString::fromLatin1(name));
    if (!runtimeDir.isEmpty())
        options.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    options.environment.insert(extra);
    return Run::run(program, args, 60000, options);
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
