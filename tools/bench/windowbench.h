#pragma once

// Helpers shared by the benchmarks that time the main window offscreen.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "tools/bench/benchfigures.h"

namespace Lumisong::Bench {

// Waits (at most five seconds) until a shown window is exposed.
inline bool waitForExposed(QWidget &widget)
{
    QElapsedTimer clock;
    clock.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed())) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop until `done` holds, at most `timeoutMs`; whether it holds.
template<typename Done> bool waitUntil(Done done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// The window's Timer2 ticks at once, loading the catalogue into its list.
inline void tickTimer2(QWidget &form)
{
    auto *timer2 = form.findChild<QTimer *>(QStringLiteral("Timer2"));
    timer2->setInterval(0);
    timer2->start();
}

} // namespace Lumisong::Bench
