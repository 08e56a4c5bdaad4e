// lumisong-bench-frame [runs]: on the offscreen platform, in process, times
// - a whole paint of the skinned main window at its designed size,
// - one drag step: a mouse move over the pressed title strip until the
//   window has moved,
// - the version check against the demo site's version page, with an update
//   due and the dialog left out (as --check-update runs it).
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cstdio>

#include "app/frmmain.h"
#include "net/fetchlimits.h"
#include "platform/ui/imagebox.h"
#include "tools/bench/windowbench.h"
#include "tools/demosite/demosite.h"
#include "update/checkforupdate.h"
#include "update/updatenotice.h"
#include "update/updatecheck.h"

using namespace Lumisong;
using Bench::median;

namespace {

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

void send(QWidget *to, QEvent::Type type, const QPointF &local, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, to->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 200;

    frmMain form(frmMain::Environment{});
    form.move(100, 100);
    form.show();
    if (!Bench::waitForExposed(form)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }

    QList<double> paint;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        form.repaint();
        if (run > 0) // the first paint scales the skin once per size
            paint.append(ms(clock.nsecsElapsed()));
    }

    QWidget *strip = form.findChild<ImageBox *>(QStringLiteral("imgTitle"));
    QList<double> drag;
    send(strip, QEvent::MouseButtonPress, QPointF(300, 10), Qt::LeftButton);
    for (int run = 0; run < runs; ++run) {
        const QPointF to(300 + (run % 2 ? 7 : -7), 10);
        QElapsedTimer clock;
        clock.start();
        send(strip, QEvent::MouseMove, to, Qt::LeftButton);
        drag.append(ms(clock.nsecsElapsed()) * 1000.0);
        if (run == 0 && form.pos() != QPoint(93, 100)) {
            std::fprintf(stderr, "the drag did not move the window\n");
            return 1;
        }
    }
    send(strip, QEvent::MouseButtonRelease, QPointF(300, 10), Qt::NoButton);

    DemoSite site(1);
    site.setAnnouncedVersion(QStringLiteral("1.2.0"));
    if (!site.listen()) {
        std::fprintf(stderr, "cannot start the demo site\n");
        return 1;
    }
    QList<double> check;
    const int checks = qMax(5, runs / 10);
    for (int run = 0; run <= checks; ++run) {
        QElapsedTimer clock;
        clock.start();
        UpdateCheck checking({site.versionUrl(), QStringLiteral("1.1.0"), QString()});
        QString result;
        QObject::connect(&checking, &UpdateCheck::finished,
                         [&result](const VersionPageReading &reading) { result = reading.result; });
        checking.start();
        Bench::waitUntil([&result] { return !result.isEmpty(); }, 20000);
        if (result != UpdateCheckResult::UpdateNeeded) {
            std::fprintf(stderr, "the check gave %s\n", qPrintable(result));
            return 1;
        }
        if (run > 0)
            check.append(ms(clock.nsecsElapsed()));
    }

    std::printf("lumisong-bench-frame: %d runs\n", runs);
    std::printf("  main window, whole paint (845 x 549)   : median %8.3f ms\n", median(paint));
    std::printf("  drag step, move event -> window moved  : median %8.1f us\n", median(drag));
    std::printf("  version check, page to result (%d runs) : median %8.3f ms\n", int(check.size()),
                median(check));
    closeAllConnections();
    return 0;
}
