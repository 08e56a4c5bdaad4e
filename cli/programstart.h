#pragma once

namespace Lumisong {

// The program `lumisong`: reads the command line, then runs a headless mode
// under a QCoreApplication, or, when the command line asks for the window,
// becomes the window's program (lumisong-window, installed beside it) in its
// own place, with the same arguments. So the headless modes load no widget
// or display library at all and start as fast as a command-line tool.
int runLumisong(int argc, char *argv[]);

} // namespace Lumisong
