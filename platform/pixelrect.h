#pragma once

#include <QRect>

#include <algorithm>

namespace Lumisong {

// A rectangle as the platform's drawing calls take it: left and top inclusive,
// right and bottom EXCLUSIVE, so width = right - left. Empty when right <= left
// or bottom <= top. Used instead of QRect so that no pixel arithmetic ever goes
// through QRect::right()/bottom(), which are inclusive.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr PixelRect fromSize(int x, int y, int width, int height)
    {
        return {x, y, x + width, y + height};
    }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const
    {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr PixelRect intersected(const PixelRect &other) const
    {
        return {std::max(left, other.left), std::max(top, other.top),
                std::min(right, other.right), std::min(bottom, other.bottom)};
    }
    QRect toQRect() const { return isEmpty() ? QRect() : QRect(left, top, width(), height()); }

    friend constexpr bool operator==(const PixelRect &, const PixelRect &) = default;
};

} // namespace Lumisong
