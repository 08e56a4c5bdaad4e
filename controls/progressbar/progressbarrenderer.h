#pragma once

#include "controls/progressbar/progressbarpalette.h"
#include "controls/progressbar/progressbarstate.h"
#include "platform/colour.h"
#include "platform/pixelrect.h"

namespace Lumisong {

class Surface;

// Paints a progress bar on its surface, all of it, every time.
class ProgressBarRenderer
{
public:
    // Gives the surface the bar's window shape, clears it and draws the gradients,
    // the border and the caption with `palette` (already greyed when disabled).
    // The surface's font must be the bar's text font.
    static void paint(Surface &surface, const ProgressBarState &state,
                      const ProgressBarPalette &palette);

    // A linear two-colour gradient over (left, top)-(right, bottom), right and
    // bottom exclusive; direction 1 top to bottom, 0 left to right, others nothing.
    static void gradientTwoColour(Surface &surface, int direction, Colour start, Colour end,
                                  const PixelRect &rect);

    // A width x height block at (left, top) interpolated between four corner
    // colours, transferred row by row as 24-bit pixels.
    static void drawGradientFourColour(Surface &surface, int left, int top, int width, int height,
                                       Colour topLeft, Colour topRight, Colour bottomLeft,
                                       Colour bottomRight);
};

} // namespace Lumisong
