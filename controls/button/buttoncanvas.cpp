#include "controls/button/buttoncanvas.h"

#include "controls/button/colourmath.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace Lumisong {

namespace {

// 64-bit so that the ramps of very large rectangles cannot overflow.
int channelStep(int from, int to, qint64 i, qint64 n)
{
    if (n == 1)
        return from / 2 + to / 2;
    return int(from + (to - from) * i / (n - 1));
}

// (x, y, x + width, y + height) without overflowing for extreme sizes.
PixelRect boxOf(int x, int y, int width, int height)
{
    auto end = [](int from, int size) {
        return int(std::clamp<qint64>(qint64(from) + size, INT_MIN, INT_MAX));
    };
    return {x, y, end(x, width), end(y, height)};
}

} // namespace

ButtonCanvas::ButtonCanvas(Surface &surface)
    : m_surface(surface)
{
}

int ButtonCanvas::width() const
{
    return m_surface.width();
}

int ButtonCanvas::height() const
{
    return m_surface.height();
}

void ButtonCanvas::DrawLine(int x1, int y1, int x2, int y2, Colour colour)
{
    m_surface.drawLine(x1, y1, x2, y2, colour);
}

void ButtonCanvas::FrameBox(int x, int y, int width, int height, Colour colour)
{
    m_surface.frameRect(boxOf(x, y, width, height), colour);
}

void ButtonCanvas::FillBox(Colour colour, const PixelRect &rect)
{
    m_surface.fillRect(rect, colour);
}

void ButtonCanvas::SetCornerPixels(Colour colour)
{
    const int w = width();
    const int h = height();
    m_surface.setPixel(1, 1, colour);
    m_surface.setPixel(1, h - 2, colour);
    m_surface.setPixel(w - 2, 1, colour);
    m_surface.setPixel(w - 2, h - 2, colour);
}

void ButtonCanvas::FillGradient(int x, int y, int width, int height, Colour from, Colour to,
                                int direction)
{
    if (width <= 0 || height <= 0)
        return;
    const PixelRect area = boxOf(x, y, width, height);
    const PixelRect visible = area.intersected(m_surface.bounds());
    if (visible.isEmpty())
        return;

    qint64 n = 0;
    switch (direction) {
    case 0:
        n = width;
        break;
    case 1:
        n = height;
        break;
    case 2:
    case 3:
        n = qint64(width) + height - 1;
        break;
    default:
        return;
    }

    // Only the entries that reach the surface are worked out.
    auto entry = [&](qint64 i) {
        return Colour::rgb(channelStep(from.red(), to.red(), i, n),
                           channelStep(from.green(), to.green(), i, n),
                           channelStep(from.blue(), to.blue(), i, n));
    };

    switch (direction) {
    case 0:
        for (int col = visible.left; col < visible.right; ++col)
            m_surface.fillRect({col, visible.top, col + 1, visible.bottom}, entry(qint64(col) - x));
        break;
    case 1:
        for (int row = visible.top; row < visible.bottom; ++row)
            m_surface.fillRect({visible.left, row, visible.right, row + 1}, entry(qint64(row) - y));
        break;
    default:
        for (int row = visible.top; row < visible.bottom; ++row) {
            const qint64 r = direction == 2 ? qint64(row) - y : (qint64(y) + height - 1) - row;
            for (int col = visible.left; col < visible.right; ++col)
                m_surface.setPixel(col, row, entry(r + (qint64(col) - x)));
        }
        break;
    }
}

void ButtonCanvas::ring(const PixelRect &rect, Colour topLeft, Colour bottomRight)
{
    if (rect.isEmpty())
        return;
    // Top row and left column stop short of the far corner.
    m_surface.fillRect({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    m_surface.fillRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    m_surface.fillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    m_surface.fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

void ButtonCanvas::DrawEdge(const PixelRect &rect, Edge edge)
{
    const Colour light = SystemRgb(SystemColours::Light3D);
    const Colour highlight = SystemRgb(SystemColours::ButtonHighlight);
    const Colour shadow = SystemRgb(SystemColours::ButtonShadow);
    const Colour dark = SystemRgb(SystemColours::DarkShadow3D);
    const PixelRect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    switch (edge) {
    case Edge::Raised:
        ring(rect, light, dark);
        ring(inner, highlight, shadow);
        break;
    case Edge::RaisedInner:
        ring(rect, highlight, shadow);
        break;
    case Edge::Sunken:
        ring(rect, shadow, highlight);
        ring(inner, dark, light);
        break;
    }
}

void ButtonCanvas::DrawFocusRect(const PixelRect &rect)
{
    const PixelRect box = rect;
    if (box.isEmpty())
        return;
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 != 0)
            return;
        const Colour c = m_surface.pixel(x, y);
        if (c == Colour(Colour::Invalid))
            return;
        m_surface.setPixel(x, y, Colour::rgb(255 - c.red(), 255 - c.green(), 255 - c.blue()));
    };
    // Each outline pixel once, so corners are not inverted twice. Only the
    // part inside the surface is visited.
    const PixelRect visible = box.intersected(m_surface.bounds());
    if (visible.isEmpty())
        return;
    for (int x = visible.left; x < visible.right; ++x) {
        if (box.top >= visible.top)
            invert(x, box.top);
        if (box.bottom - 1 != box.top && box.bottom - 1 < visible.bottom)
            invert(x, box.bottom - 1);
    }
    for (int y = std::max(box.top + 1, visible.top); y < std::min(box.bottom - 1, visible.bottom); ++y) {
        if (box.left >= visible.left)
            invert(box.left, y);
        if (box.right - 1 != box.left && box.right - 1 < visible.right)
            invert(box.right - 1, y);
    }
}

} // namespace Lumisong
