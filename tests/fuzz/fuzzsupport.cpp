#include "tests/fuzz/fuzzsupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

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

void runPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QString pictureFolder()
{
    static QTemporaryDir folder;
    static const bool made = [] {
        QImage image(16, 12, QImage::Format_ARGB32);
        image.fill(qRgba(200, 40, 40, 128));
        image.setPixel(3, 4, qRgba(0, 0, 0, 0));
        const QDir dir(folder.path());
        return image.save(dir.filePath(QStringLiteral("a.png"))) &&
               image.convertToFormat(QImage::Format_RGB32)
                   .save(dir.filePath(QStringLiteral("b.bmp"))) &&
               image.save(dir.filePath(QStringLiteral("c.ico")));
    }();
    if (!made)
        fail(QStringLiteral("cannot write the pictures the inputs name"));
    return folder.path();
}

} // namespace Lumisong::Fuzz
