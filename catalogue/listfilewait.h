#pragma once

#include <QString>

#include "catalogue/listfilerun.h"

namespace Lumisong {

// Starts the run and waits for its end with the event loop running, as the
// program's commands wait: the window stays live and may close meanwhile. A
// wait that ends first (the application quits) aborts the run.
ListFileRun::Outcome runToTheEnd(ListFileRun &run, const QString &path);
// The same for a run without a file (ListFileRun::startWithoutFile).
ListFileRun::Outcome runToTheEnd(ListFileRun &run);

} // namespace Lumisong
