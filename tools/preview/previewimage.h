#pragma once

#include <QImage>

namespace Lumisong {

class Surface;

// The pixels of a control's surface as RGBA, at the surface's device pixel
// ratio: alpha 255 inside its window shape, transparent black outside.
class PreviewImage
{
public:
    static QImage withinShape(const Surface &surface);
};

} // namespace Lumisong
