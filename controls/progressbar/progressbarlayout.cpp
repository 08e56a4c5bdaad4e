#include "controls/progressbar/progressbarlayout.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Lumisong {

namespace {

// Nearest integer, halves to even (the default floating-point rounding mode).
int roundEven(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded > -2147483648.0))
        return std::numeric_limits<int>::min();
    if (!(rounded < 2147483647.0))
        return std::numeric_limits<int>::max();
    return int(rounded);
}

} // namespace

ProgressBarLayout ProgressBarLayout::compute(const ProgressBarState &state, QSize size)
{
    using P = ProgressBarPalette;
    ProgressBarLayout layout;
    const int w = size.width();
    const int h = size.height();
    layout.shape = {0, 0, w, h};
    layout.border = {0, 0, w - 1, h - 1};
    layout.ellipse = state.roundedValue;

    // Before the host has given the bar a Max there is nothing to fill.
    if (state.max > 0)
        layout.percent = double(state.value) * 100.0 / state.max;
    const int direction = state.orientations;
    const int length = direction == 2 ? h : w;
    layout.fill = roundEven(length * layout.percent / 100.0);

    const int hh = roundEven(h / 2.0);
    const int wh = roundEven(w / 2.0);
    if (direction == 1) {
        layout.bands = {{{0, 0, w, hh}, P::BackgroundFirstStart, P::BackgroundFirstEnd, 1},
                        {{0, hh, w, h}, P::BackgroundSecondStart, P::BackgroundSecondEnd, 1}};
        if (state.value >= 1) {
            layout.bands.append({{0, 0, layout.fill, hh}, P::FillFirstStart, P::FillFirstEnd, 1});
            layout.bands.append({{0, hh, layout.fill, h}, P::FillSecondStart, P::FillSecondEnd, 1});
        }
    } else if (direction == 2) {
        layout.bands = {{{0, 0, wh, h}, P::BackgroundFirstStart, P::BackgroundFirstEnd, 0},
                        {{wh, 0, w, h}, P::BackgroundSecondStart, P::BackgroundSecondEnd, 0}};
        if (state.value >= 1) {
            layout.bands.append({{0, 0, wh, layout.fill}, P::FillFirstStart, P::FillFirstEnd, 0});
            layout.bands.append({{wh, 0, w, layout.fill}, P::FillSecondStart, P::FillSecondEnd, 0});
        }
    }
    layout.caption = captionText(state, layout.percent);
    return layout;
}

std::optional<QString> ProgressBarLayout::captionText(const ProgressBarState &state, double percent)
{
    switch (state.textStyle) {
    case 1:
        return QString::number(state.value);
    case 2:
        return percentText(percent) + QLatin1Char('%');
    case 3:
        return state.text;
    default:
        return std::nullopt;
    }
}

QString ProgressBarLayout::percentText(double percent)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(percent, 'G', 15);
}

QPoint ProgressBarLayout::captionPosition(int alignment, QSize size, QSize text)
{
    const double w = size.width();
    const double h = size.height();
    const double tw = text.width();
    const double th = text.height();
    if (alignment < 1 || alignment > 9)
        return {0, 0};
    const int column = (alignment - 1) / 3; // left, centre, right
    const int row = (alignment - 1) % 3;    // top, middle, bottom
    const int x = column == 0 ? 1 : column == 1 ? roundEven(w / 2 - tw / 2 - 1) : roundEven(w - tw - 3);
    const int y = row == 0 ? 0 : row == 1 ? roundEven(h / 2 - th / 2 - 1) : roundEven(h - th - 1);
    return {x, y};
}

QList<ProgressBarLayout::CaptionPass> ProgressBarLayout::captionPasses(int effect)
{
    switch (effect) {
    case 1:
        return {{{0, 0}, CaptionPass::Text}};
    case 2:
        return {{{-1, -1}, CaptionPass::Effect}, {{1, 1}, CaptionPass::Grey}, {{0, 0}, CaptionPass::Text}};
    case 3:
        return {{{1, 1}, CaptionPass::Effect}, {{-1, 0}, CaptionPass::Grey}, {{0, 0}, CaptionPass::Text}};
    case 4:
        return {{{1, 0}, CaptionPass::Effect},
                {{-1, 0}, CaptionPass::Effect},
                {{0, -1}, CaptionPass::Effect},
                {{0, 1}, CaptionPass::Effect},
                {{0, 0}, CaptionPass::Text}};
    case 5:
        return {{{1, 1}, CaptionPass::Effect}, {{0, 0}, CaptionPass::Text}};
    default:
        return {};
    }
}

} // namespace Lumisong
