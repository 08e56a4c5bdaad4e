#pragma once

#include <QIcon>

namespace Lumisong {

// The program's icon in the sizes it is drawn in: the window icon of its
// forms and the application's icon.
QIcon programIcon();

} // namespace Lumisong
