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

} // namespace

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
