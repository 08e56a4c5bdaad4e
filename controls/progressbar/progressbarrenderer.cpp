#include "controls/progressbar/progressbarrenderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/progressbar/progressbarlayout.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

// Entry i of the ramp of n + 1 colours from start to end, one channel: a
// single-precision step, rounded to the nearest byte with halves to even. The
// step times i is taken in double precision: a single-precision product can
// round 3.4999999 up to a half and then to the wrong neighbour.
uchar rampEntry(qint64 n, int start, int end, qint64 i)
{
    const float step = n == 0 || start == end ? 0.0f : float(end - start) / float(n);
    const double value = double(start) + double(step) * double(i);
    return uchar(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// Colours stored as system-colour references are translated before drawing.
Colour drawable(Colour colour)
{
    return colour.resolved();
}

} // namespace

void ProgressBarRenderer::paint(Surface &surface, const ProgressBarState &state,
                                const ProgressBarPalette &palette)
{
    const ProgressBarLayout layout = ProgressBarLayout::compute(state, surface.size());
    surface.setWindowRegion(Surface::roundRectRegion(layout.shape, layout.ellipse, layout.ellipse));
    surface.clear(Colour::system(SystemColours::ButtonFace).resolved());

    for (const ProgressBarLayout::Band &band : layout.bands)
        gradientTwoColour(surface, band.direction, palette.at(band.start), palette.at(band.end),
                          band.rect);

    surface.frameRoundRect(layout.border, layout.ellipse, layout.ellipse,
                           palette.at(ProgressBarPalette::Border));

    if (!layout.caption || layout.caption->isEmpty())
        return;
    Colour text = drawable(state.textForeColor);
    Colour effect = drawable(state.textEffectColor);
    if (!state.enabled) {
        text = ProgressBarPalette::grey(text);
        effect = ProgressBarPalette::grey(effect);
    }
    const Colour grey = Colour::rgb(128, 128, 128);
    const QSize extent = surface.textExtent(*layout.caption);
    const QPoint at = ProgressBarLayout::captionPosition(state.textAlignment, surface.size(), extent);
    for (const ProgressBarLayout::CaptionPass &pass : ProgressBarLayout::captionPasses(state.textEffect)) {
        const Colour ink = pass.ink == ProgressBarLayout::CaptionPass::Text     ? text
                           : pass.ink == ProgressBarLayout::CaptionPass::Effect ? effect
                                                                                : grey;
        surface.drawText(at.x() + pass.offset.x(), at.y() + pass.offset.y(), *layout.caption, ink);
    }
}

void ProgressBarRenderer::gradientTwoColour(Surface &surface, int direction, Colour start,
                                            Colour end, const PixelRect &rect)
{
    if (direction != 0 && direction != 1)
        return;
    surface.gradientRect(rect, start, end,
                         direction == 1 ? Surface::GradientMode::Vertical
                                        : Surface::GradientMode::Horizontal);
}

void ProgressBarRenderer::drawGradientFourColour(Surface &surface, int left, int top, int width,
                                                 int height, Colour topLeft, Colour topRight,
                                                 Colour bottomLeft, Colour bottomRight)
{
    if (width <= 0 || height <= 0)
        return;
    // Only the rows and columns that can show are computed; each entry of a ramp
    // depends on its index alone, so the block's colours stay those of the whole.
    const qint64 firstColumn = std::max<qint64>(0, -qint64(left));
    const qint64 lastColumn = std::min<qint64>(width, qint64(surface.width()) - left);
    if (firstColumn >= lastColumn)
        return;
    std::vector<uchar> row(size_t(lastColumn - firstColumn) * 3);
    for (qint64 r = std::max<qint64>(0, -qint64(top)); r < height && top + r < surface.height(); ++r) {
        // Channels in blue, green, red order, as 24-bit rows hold them.
        const int leftBgr[3] = {rampEntry(height, topLeft.blue(), bottomLeft.blue(), r),
                                rampEntry(height, topLeft.green(), bottomLeft.green(), r),
                                rampEntry(height, topLeft.red(), bottomLeft.red(), r)};
        const int rightBgr[3] = {rampEntry(height, topRight.blue(), bottomRight.blue(), r),
                                 rampEntry(height, topRight.green(), bottomRight.green(), r),
                                 rampEntry(height, topRight.red(), bottomRight.red(), r)};
        for (qint64 j = firstColumn; j < lastColumn; ++j)
            for (size_t c = 0; c < 3; ++c)
                row[size_t(j - firstColumn) * 3 + c] = rampEntry(width, leftBgr[c], rightBgr[c], j);
        surface.transferRow24(int(left + firstColumn), int(top + r), row.data(),
                              int(lastColumn - firstColumn));
    }
}

} // namespace Lumisong
