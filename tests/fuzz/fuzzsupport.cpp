#include "tests/fuzz/fuzzsupport.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace Lumisong::Fuzz {

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void fail(const QString &what)
{
    std::fprintf(stderr, "fuzz finding: %s\n", qPrintable(what));
    std::fflush(stderr);
    std::abort();
}

void ensureOffscreenApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    static int argc = 1;
    static char name[] = "lumisong-fuzz";
    static char *argv[] = {name, nullptr};
    // Lives for the whole run: libFuzzer ends the process with exit().
    new QApplication(argc, argv);
}

} // namespace Lumisong::Fuzz
