#pragma once

namespace Lumisong {

// The whole program: reads the command line, then runs the main window under
// a QApplication or a headless mode under a QCoreApplication. The mode is
// decided before either exists, so the headless modes never need a display.
int runLumisong(int argc, char *argv[]);

} // namespace Lumisong
