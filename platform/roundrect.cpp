#include "platform/roundrect.h"

#include <algorithm>
#include <cstdint>

namespace Lumisong {

RoundRect::RoundRect(const PixelRect &box, int ellipseWidth, int ellipseHeight) : m_box(box)
{
    if (box.isEmpty())
        return;
    m_a = std::clamp(ellipseWidth, 1, box.width()) - 1;
    m_b = std::clamp(ellipseHeight, 1, box.height()) - 1;
    if (m_a == 0 || m_b == 0)
        return;
    // Corner rows are the rows of the top half of the ellipse square above its centre.
    const int cornerRows = (m_b + 1) / 2;
    m_inset.resize(size_t(cornerRows));
    const std::int64_t a2 = std::int64_t(m_a) * m_a;
    const std::int64_t b2 = std::int64_t(m_b) * m_b;
    for (int dy = 0; dy < cornerRows; ++dy) {
        const std::int64_t y = 2 * dy - m_b;
        // Smallest dx (within the left half of the square) that lies inside.
        int dx = 0;
        const int halfColumns = (m_a + 1) / 2;
        while (dx < halfColumns) {
            const std::int64_t x = 2 * dx - m_a;
            if (x * x * b2 + y * y * a2 <= a2 * b2)
                break;
            ++dx;
        }
        // Rows of an ellipse as wide as the box keep their middle pixel (or pair),
        // so even a 2 x 2 box keeps a shape instead of vanishing.
        m_inset[size_t(dy)] = std::min(dx, (box.width() - 1) / 2);
    }
}

RoundRect::Span RoundRect::span(int y) const
{
    if (y < m_box.top || y >= m_box.bottom)
        return {};
    const int fromTop = y - m_box.top;
    const int fromBottom = m_box.bottom - 1 - y;
    const int row = std::min(fromTop, fromBottom);
    const int inset = row < int(m_inset.size()) ? m_inset[size_t(row)] : 0;
    return {m_box.left + inset, m_box.right - inset};
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

std::vector<PixelRect> RoundRect::outline() const
{
    std::vector<PixelRect> segments;
    for (int y = m_box.top; y < m_box.bottom; ++y) {
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
