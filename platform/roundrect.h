#pragma once

#include <QRegion>

#include <vector>

#include "platform/pixelrect.h"

namespace Lumisong {

// The shape of a rounded rectangle: the box (right and bottom exclusive) with
// each corner cut along an ellipse of ellipseWidth x ellipseHeight pixels. The
// corner ellipse passes through pixel centres: a pixel of a corner is inside when
//   (2dx - (ew-1))^2 (eh-1)^2 + (2dy - (eh-1))^2 (ew-1)^2 <= (ew-1)^2 (eh-1)^2
// with dx, dy its offsets into the corner's ew x eh square, mirrored for the other
// corners, so the shape is symmetric left to right and top to bottom. An
// ellipse of 0 or 1 gives the plain rectangle; one larger than the box is cut
// down to the box, so a huge one gives an ellipse. Every row keeps at least its
// middle pixel (or middle pair). Region and outline share this one rule.
class RoundRect
{
public:
    struct Span
    {
        int left = 0;  // first pixel of the row inside the shape
        int right = 0; // one past the last
    };

    RoundRect(const PixelRect &box, int ellipseWidth, int ellipseHeight);

    const PixelRect &box() const { return m_box; }
    // The inside of row y (box coordinates, not relative); empty outside the box.
    Span span(int y) const;
    // The pixels of the shape as a region (rows of equal spans merged).
    QRegion region() const;
    // The one-pixel outline: pixels of the shape with a 4-neighbour outside it,
    // as per-row segments (at most two per row), for rows fromRow to toRow - 1.
    std::vector<PixelRect> outline(int fromRow, int toRow) const;

private:
    // How far row `row` (counted from the nearer of top and bottom) is cut on each side.
    int inset(int row) const;

    PixelRect m_box;
    int m_a = 0; // ellipse width - 1, cut down to the box
    int m_b = 0; // ellipse height - 1, cut down to the box
    int m_cornerRows = 0;
};

} // namespace Lumisong
