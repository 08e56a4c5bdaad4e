#pragma once

#include <QChar>
#include <QPainterPath>

#include <vector>

#include "platform/pixelrect.h"

namespace Lumisong {

// The drop-down symbols as the 14-pixel symbol font shows them, drawn by us:
// each character becomes a few solid spans inside a 14 x 14 cell whose
// top-left corner is the text origin.
//   '0' minimise bar, '1' maximise box, '2' restore (two boxes),
//   '3' left, '4' right, '5' up, '6' down triangle (7-pixel base, 4 rows),
//   '7' small down, '8' small up triangle (5-pixel base, 3 rows),
//   '9' a pair of down chevron rows; anything else draws nothing.
class SymbolGlyph
{
public:
    static constexpr int CellSize = 14;

    // Spans relative to the cell's top-left corner.
    static std::vector<PixelRect> spans(QChar symbol);
    // The same glyph as an outline for drawing finer than one pixel: the
    // spans' rectangles, except that a triangle is the triangle through its
    // spans' outer corners.
    static QPainterPath outline(QChar symbol);
};

} // namespace Lumisong
