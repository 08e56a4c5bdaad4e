#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Lumisong::Twips {

qreal toPixelsF(qreal twips, qreal dpi)
{
    return twips * dpi / PerInch;
}

int toPixels(int twips, qreal dpi)
{
    return static_cast<int>(std::lround(toPixelsF(twips, dpi)));
}

int fromPixels(int pixels, qreal dpi)
{
    if (dpi <= 0)
        dpi = DefaultDpi;
    return static_cast<int>(std::lround(pixels * PerInch / dpi));
}

qreal screenDpi()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const qreal dpi = screen->logicalDotsPerInchX();
            if (dpi > 0)
                return dpi;
        }
    }
    return DefaultDpi;
}

int toPixels(int twips)
{
    return toPixels(twips, screenDpi());
}

int fromPixels(int pixels)
{
    return fromPixels(pixels, screenDpi());
}

} // namespace Lumisong::Twips
