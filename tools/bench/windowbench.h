#pragma once

// Helpers shared by the benchmarks that time the main window offscreen.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
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

} // namespace Lumisong::Bench
