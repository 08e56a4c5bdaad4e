#include "controls/button/symbolglyph.h"

namespace Lumisong {

namespace {

// A triangle pointing down or up: rows of widths base, base-2, ... 1 centred
// on column centre.
void vertical(std::vector<PixelRect> &out, int centre, int top, int base, bool down)
{
    const int rows = (base + 1) / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = down ? (rows - 1 - i) : i;
        out.push_back({centre - half, top + i, centre + half + 1, top + i + 1});
    }
}

// A triangle pointing left or right: columns of heights base ... 1.
void horizontal(std::vector<PixelRect> &out, int left, int middle, int base, bool right)
{
    const int cols = (base + 1) / 2;
    for (int i = 0; i < cols; ++i) {
        const int half = right ? (cols - 1 - i) : i;
        out.push_back({left + i, middle - half, left + i + 1, middle + half + 1});
    }
}

void box(std::vector<PixelRect> &out, int left, int top, int right, int bottom, int topThickness)
{
    out.push_back({left, top, right, top + topThickness});
    out.push_back({left, bottom - 1, right, bottom});
    out.push_back({left, top, left + 1, bottom});
    out.push_back({right - 1, top, right, bottom});
}

// The triangles of the spans above as outlines: a base edge across the widest
// span's outer side and the tip at the middle of the narrowest's far side.
QPainterPath verticalOutline(int centre, int top, int base, bool down)
{
    const int rows = (base + 1) / 2;
    const qreal half = rows - 1;
    const qreal mid = centre + 0.5;
    QPolygonF triangle;
    if (down)
        triangle << QPointF(centre - half, top) << QPointF(centre + half + 1, top) << QPointF(mid, top + rows);
    else
        triangle << QPointF(centre - half, top + rows) << QPointF(centre + half + 1, top + rows) << QPointF(mid, top);
    QPainterPath path;
    path.addPolygon(triangle);
    path.closeSubpath();
    return path;
}

QPainterPath horizontalOutline(int left, int middle, int base, bool right)
{
    const int cols = (base + 1) / 2;
    const qreal half = cols - 1;
    const qreal mid = middle + 0.5;
    QPolygonF triangle;
    if (right)
        triangle << QPointF(left, middle - half) << QPointF(left, middle + half + 1) << QPointF(left + cols, mid);
    else
        triangle << QPointF(left + cols, middle - half) << QPointF(left + cols, middle + half + 1) << QPointF(left, mid);
    QPainterPath path;
    path.addPolygon(triangle);
    path.closeSubpath();
    return path;
}

} // namespace

QPainterPath SymbolGlyph::outline(QChar symbol)
{
    switch (symbol.unicode()) {
    case u'3':
        return horizontalOutline(5, 7, 7, false);
    case u'4':
        return horizontalOutline(6, 7, 7, true);
    case u'5':
        return verticalOutline(7, 5, 7, false);
    case u'6':
        return verticalOutline(7, 6, 7, true);
    case u'7':
        return verticalOutline(7, 6, 5, true);
    case u'8':
        return verticalOutline(7, 5, 5, false);
    case u'9':
        return verticalOutline(7, 4, 5, true).united(verticalOutline(7, 8, 5, true));
    default: {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const PixelRect &span : spans(symbol))
            path.addRect(span.toQRect());
        return path;
    }
    }
}

std::vector<PixelRect> SymbolGlyph::spans(QChar symbol)
{
    std::vector<PixelRect> out;
    switch (symbol.unicode()) {
    case u'0':
        out.push_back({3, 9, 9, 11});
        break;
    case u'1':
        box(out, 2, 2, 11, 11, 2);
        break;
    case u'2':
        box(out, 4, 1, 11, 8, 2);
        box(out, 2, 5, 9, 12, 2);
        break;
    case u'3':
        horizontal(out, 5, 7, 7, false);
        break;
    case u'4':
        horizontal(out, 6, 7, 7, true);
        break;
    case u'5':
        vertical(out, 7, 5, 7, false);
        break;
    case u'6':
        vertical(out, 7, 6, 7, true);
        break;
    case u'7':
        vertical(out, 7, 6, 5, true);
        break;
    case u'8':
        vertical(out, 7, 5, 5, false);
        break;
    case u'9':
        vertical(out, 7, 4, 5, true);
        vertical(out, 7, 8, 5, true);
        break;
    default:
        break;
    }
    return out;
}

} // namespace Lumisong
