#pragma once

#include <QString>

#include "catalogue/listfilerun.h"

namespace Lumisong {

// Starts the run and waits for its end in a nested event loop: still used by
// the headless runs only, which go over to the run's finished() signal. A
// wait that ends first (the application quits) aborts the run.
ListFileRun::Outcome runToTheEnd(ListFileRun &run, const QString &path);
// The same for a run without a file (ListFileRun::startWithoutFile).
ListFileRun::Outcome runToTheEnd(ListFileRun &run);

} // namespace Lumisong
