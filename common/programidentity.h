#pragma once

#include <QStringList>

namespace Lumisong {

// Names the running program (organisation, application, version) before its
// application object exists, as both of its executables do, so that settings,
// message boxes and --version agree.
void nameTheProgram();

// argv as text, in the local 8-bit encoding, the program's name first.
QStringList argumentsOf(int argc, char *argv[]);

} // namespace Lumisong
