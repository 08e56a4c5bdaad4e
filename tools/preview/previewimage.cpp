#include "tools/preview/previewimage.h"

#include "platform/surface.h"

namespace Lumisong {

QImage PreviewImage::withinShape(const Surface &surface)
{
    if (surface.isEmpty())
        return {};
    const QImage pixels = surface.deviceImage();
    QImage result(pixels.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    const QRegion shape = surface.deviceWindowRegion().intersected(QRect(QPoint(), pixels.size()));
    for (const QRect &rect : shape) {
        for (int y = rect.y(); y < rect.y() + rect.height(); ++y) {
            const QRgb *from = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
            QRgb *to = reinterpret_cast<QRgb *>(result.scanLine(y));
            for (int x = rect.x(); x < rect.x() + rect.width(); ++x)
                to[x] = from[x] | 0xFF000000u;
        }
    }
    return result;
}

} // namespace Lumisong
