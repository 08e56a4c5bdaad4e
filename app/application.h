#pragma once

namespace Lumisong {

// The main window's program (lumisong-window): reads the command line and runs
// the window under a QApplication until it closes. The program `lumisong`
// starts it in its own place when the command line asks for the window.
int runWindowProgram(int argc, char *argv[]);

} // namespace Lumisong
