#include "cli/programstart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include "cli/commandline.h"
#include "cli/headlessrunner.h"
#include "common/programidentity.h"
#include "net/fetchlimits.h"

namespace Lumisong {

namespace {

// Where the window's program may be: where the install puts it relative to
// this program, then beside it (the build tree).
QStringList windowProgramPlaces()
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QDir dir = QFileInfo(self).absoluteDir();
    return {QDir::cleanPath(dir.filePath(QStringLiteral(LUMISONG_WINDOW_FROM_BINDIR))),
            dir.filePath(QStringLiteral("lumisong-window"))};
}

// Returns only when no place held a program that could be started.
int becomeWindowProgram(char *argv[])
{
    QString tried;
    int error = ENOENT;
    for (const QString &place : windowProgramPlaces()) {
        const QByteArray path = QFile::encodeName(place);
        if (::access(path.constData(), X_OK) != 0)
            continue;
        ::execv(path.constData(), argv);
        error = errno;
        tried = place;
    }
    if (tried.isEmpty())
        tried = windowProgramPlaces().constFirst();
    std::fprintf(stderr, "lumisong: cannot start the window (%s): %s\n", QFile::encodeName(tried).constData(),
                 std::strerror(error));
    return 1;
}

} // namespace

int runLumisong(int argc, char *argv[])
{
    nameTheProgram();
    CommandLine commandLine;
    commandLine.parse(CommandLine::withoutToolkitOptions(argumentsOf(argc, argv)));
    if (commandLine.needsDisplay())
        return becomeWindowProgram(argv);

    // Qt's own event dispatcher rather than glib's: nothing headless needs
    // glib's loop, and Qt's costs a tenth less processor time over an export.
    // The variable is not passed on to anything the run starts.
    const bool glibChosen = qEnvironmentVariableIsSet("QT_NO_GLIB");
    if (!glibChosen)
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    if (!glibChosen)
        qunsetenv("QT_NO_GLIB");
    const int status = HeadlessRunner(commandLine).run();
    closeAllConnections();
    return status;
}

} // namespace Lumisong
