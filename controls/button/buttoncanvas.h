#pragma once

#include "platform/colour.h"
#include "platform/pixelrect.h"

namespace Lumisong {

class Surface;

// The drawing primitives of the skinned button over a Surface, named as its
// recipes name them. Colours are plain RGB values (resolve system colours
// first). Everything clips to the surface: recipes draw frames of W + 1 and
// gradients that end below the control, and only the inside is touched.
class ButtonCanvas
{
public:
    enum class Edge {
        Raised,      // outer 3-D light / dark shadow, inner highlight / shadow
        RaisedInner, // the inner raised colours on the outer ring only
        Sunken,      // outer shadow / highlight, inner dark shadow / 3-D light
    };

    explicit ButtonCanvas(Surface &surface);

    Surface &surface() { return m_surface; }
    int width() const;
    int height() const;
    PixelRect whole() const { return {0, 0, width(), height()}; }

    // One-pixel line; the end point itself is not painted.
    void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
    // One-pixel outline of (x, y, x + width, y + height), right/bottom exclusive.
    void FrameBox(int x, int y, int width, int height, Colour colour);
    void FillBox(Colour colour, const PixelRect &rect);
    // (1, 1), (1, H-2), (W-2, 1), (W-2, H-2).
    void SetCornerPixels(Colour colour);
    // Two-colour gradient over (x, y, width, height). Ramp length n is width
    // (direction 0, left to right), height (1, top to bottom) or
    // width + height - 1 (2: top-left to bottom-right, 3: bottom-left to
    // top-right); entry i is from + (to - from) * i / (n - 1) per channel with
    // truncating division, and a ramp of one entry is from / 2 + to / 2.
    void FillGradient(int x, int y, int width, int height, Colour from, Colour to, int direction);
    // Two rings of the edge on rect: each ring's left column and top row stop
    // short of the far corner and take the top-left colour; its right column
    // and bottom row are whole and take the bottom-right colour.
    void DrawEdge(const PixelRect &rect, Edge edge);
    // Dotted outline that inverts every other pixel (those with x + y even);
    // drawing it twice restores the pixels.
    void DrawFocusRect(const PixelRect &rect);

private:
    void ring(const PixelRect &rect, Colour topLeft, Colour bottomRight);

    Surface &m_surface;
};

} // namespace Lumisong
