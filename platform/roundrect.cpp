#include "platform/roundrect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Lumisong {

RoundRect::RoundRect(const PixelRect &box, int ellipseWidth, int ellipseHeight) : m_box(box)
{
    if (box.isEmpty())
        return;
    m_a = int(std::clamp<std::int64_t>(ellipseWidth, 1, std::int64_t(box.right) - box.left) - 1);
    m_b = int(std::clamp<std::int64_t>(ellipseHeight, 1, std::int64_t(box.bottom) - box.top) - 1);
    // Corner rows are the rows of the ellipse square above its centre.
    if (m_a > 0 && m_b > 0)
        m_cornerRows = (m_b + 1) / 2;
}

int RoundRect::inset(int row) const
{
    if (row >= m_cornerRows)
        return 0;
    __extension__ using Wide = __int128;
    const Wide a2 = Wide(m_a) * m_a;
    const Wide b2 = Wide(m_b) * m_b;
    const Wide y = Wide(2) * row - m_b;
    const int halfColumns = (m_a + 1) / 2;
    auto inside = [&](int dx) {
        const Wide x = Wide(2) * dx - m_a;
        return x * x * b2 + y * y * a2 <= a2 * b2;
    };
    // First column of the row inside the ellipse: start from the real solution and
    // settle it with the exact test.
    const double yd = double(y) / m_b;
    const double reach = m_a * std::sqrt(std::max(0.0, 1.0 - yd * yd));
    int dx = std::clamp(int(std::ceil((m_a - reach) / 2.0)), 0, halfColumns);
    while (dx > 0 && inside(dx - 1))
        --dx;
    while (dx < halfColumns && !inside(dx))
        ++dx;
    // Rows of an ellipse as wide as the box keep their middle pixel (or pair),
    // so even a 2 x 2 box keeps a shape instead of vanishing.
    return std::min<std::int64_t>(dx, (std::int64_t(m_box.right) - m_box.left - 1) / 2);
}

RoundRect::Span RoundRect::span(int y) const
{
    if (y < m_box.top || y >= m_box.bottom)
        return {};
    const std::int64_t fromTop = std::int64_t(y) - m_box.top;
    const std::int64_t fromBottom = std::int64_t(m_box.bottom) - 1 - y;
    const int cut = inset(int(std::min(fromTop, fromBottom)));
    return {m_box.left + cut, m_box.right - cut};
}

QRegion RoundRect::region() const
{
    if (m_box.isEmpty())
        return {};
    std::vector<QRect> rects;
    int start = m_box.top;
    Span current = span(start);
    for (int y = m_box.top + 1; y <= m_box.bottom; ++y) {
        const Span next = y < m_box.bottom ? span(y) : Span{};
        if (y == m_box.bottom || next.left != current.left || next.right != current.right) {
            if (current.right > current.left)
                rects.emplace_back(current.left, start, current.right - current.left, y - start);
            start = y;
            current = next;
        }
    }
    QRegion result;
    result.setRects(rects.data(), int(rects.size()));
    return result;
}

std::vector<PixelRect> RoundRect::outline(int fromRow, int toRow) const
{
    std::vector<PixelRect> segments;
    for (int y = std::max(fromRow, m_box.top); y < std::min(toRow, m_box.bottom); ++y) {
        const Span here = span(y);
        if (here.right <= here.left)
            continue;
        if (y == m_box.top || y == m_box.bottom - 1) {
            segments.push_back({here.left, y, here.right, y + 1});
            continue;
        }
        // Pixels of this row not covered by the rows above and below touch the outside.
        const Span above = span(y - 1);
        const Span below = span(y + 1);
        const int innerLeft = std::max({here.left + 1, above.left, below.left});
        const int innerRight = std::min({here.right - 1, above.right, below.right});
        if (innerLeft >= innerRight) {
            segments.push_back({here.left, y, here.right, y + 1});
            continue;
        }
        segments.push_back({here.left, y, innerLeft, y + 1});
        segments.push_back({innerRight, y, here.right, y + 1});
    }
    return segments;
}

} // namespace Lumisong
