#pragma once

#include "platform/pixelrect.h"

namespace Lumisong {

struct ButtonProperties;

inline PixelRect movedBy(const PixelRect &rect, int dx, int dy)
{
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

// Where the caption, the picture and the drop-down symbol go: the pure layout
// part of the content step. Measuring the text is the caller's: ask
// measureWidth() for the width to wrap at, measure the caption with word
// breaks at that width, and hand the measured size to layout().
class CaptionLayout
{
public:
    struct Input
    {
        int width = 0;                  // control width W in pixels
        int height = 0;                 // control height H in pixels
        int pictureWidth = 0;           // the picture chosen for this state
        int pictureHeight = 0;
        int state = 0;                  // ButtonState
        PixelRect previousPicture;      // kept when no picture is placed
        int style = 0;                  // the look being drawn
    };

    struct Result
    {
        PixelRect caption;              // C
        PixelRect picture;              // picture rectangle, pressed offset applied
        PixelRect symbol;               // D, where the symbol glyph cell starts
        bool hasSymbol = false;
        bool separator = false;         // the separator fits left of the symbol area
    };

    // The width the caption wraps at: W less the reserve for edges and the
    // drop-down area.
    static int measureWidth(const ButtonProperties &properties, int width);

    // textWidth/textHeight: the measured caption (0 x 0 for an empty one).
    static Result layout(const ButtonProperties &properties, const Input &input, int textWidth,
                         int textHeight);

    // Styles whose content moves by one pixel while pressed.
    static bool pressShiftsContent(int style);
};

} // namespace Lumisong
