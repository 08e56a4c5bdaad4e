#include "app/programicon.h"

namespace Lumisong {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/skin/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace Lumisong
