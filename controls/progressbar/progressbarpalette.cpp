#include "controls/progressbar/progressbarpalette.h"

#include <algorithm>
#include <cstdlib>

namespace Lumisong {

namespace {

struct Rgb
{
    int r, g, b;
};

// The built-in themes 1 to 9, slots in palette order.
constexpr Rgb BuiltIn[9][ProgressBarPalette::SlotCount] = {
    {{248, 246, 242}, {233, 227, 211}, {226, 215, 182}, {239, 233, 215}, {251, 244, 223},
     {239, 213, 133}, {203, 166, 57}, {237, 224, 187}, {204, 168, 62}},
    {{247, 248, 242}, {231, 233, 211}, {222, 226, 182}, {237, 239, 215}, {249, 251, 223},
     {230, 239, 133}, {190, 203, 57}, {233, 237, 187}, {192, 204, 62}},
    {{242, 248, 243}, {211, 233, 213}, {182, 226, 186}, {215, 239, 217}, {223, 251, 225},
     {133, 239, 142}, {57, 203, 70}, {187, 237, 191}, {62, 204, 74}},
    {{242, 248, 247}, {211, 233, 231}, {182, 226, 222}, {215, 239, 237}, {223, 251, 249},
     {133, 239, 230}, {57, 203, 190}, {187, 237, 233}, {62, 204, 192}},
    {{243, 242, 248}, {213, 211, 233}, {186, 182, 226}, {217, 215, 239}, {225, 223, 251},
     {142, 133, 239}, {70, 57, 203}, {191, 187, 237}, {74, 62, 204}},
    {{248, 242, 247}, {233, 211, 231}, {226, 182, 222}, {239, 215, 237}, {251, 223, 249},
     {239, 133, 230}, {203, 57, 190}, {237, 187, 233}, {204, 62, 192}},
    {{248, 242, 242}, {233, 211, 211}, {226, 182, 182}, {239, 215, 215}, {251, 223, 223},
     {239, 133, 133}, {203, 57, 57}, {237, 187, 187}, {204, 62, 62}},
    {{250, 253, 254}, {228, 243, 252}, {199, 230, 249}, {237, 247, 253}, {225, 247, 255},
     {67, 208, 255}, {63, 112, 233}, {63, 226, 246}, {23, 139, 211}},
    {{231, 243, 232}, {225, 219, 225}, {179, 189, 179}, {226, 238, 226}, {223, 251, 223},
     {108, 255, 108}, {26, 228, 26}, {217, 244, 217}, {188, 184, 188}},
};

constexpr int CustomTheme = 10;

} // namespace

std::optional<ProgressBarPalette> ProgressBarPalette::forTheme(int number, Colour custom1,
                                                               Colour custom2)
{
    ProgressBarPalette palette;
    if (number >= 1 && number <= 9) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            const Rgb &c = BuiltIn[number - 1][slot];
            palette.m_colours[size_t(slot)] = Colour::rgb(c.r, c.g, c.b);
        }
        return palette;
    }
    if (number != CustomTheme)
        return std::nullopt;
    palette.m_colours = {lighten(custom2, 180), lighten(custom2, 50), custom2, lighten(custom2, 80),
                         lighten(custom1, 180), lighten(custom1, 50), custom1, lighten(custom1, 80),
                         custom1};
    return palette;
}

ProgressBarPalette ProgressBarPalette::greyed() const
{
    ProgressBarPalette result;
    std::transform(m_colours.begin(), m_colours.end(), result.m_colours.begin(), grey);
    return result;
}

Colour ProgressBarPalette::lighten(Colour colour, int k)
{
    auto channel = [k](int c) { return std::min(std::abs(c + k), 255); };
    return Colour::rgb(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

Colour ProgressBarPalette::grey(Colour colour)
{
    // The mean of three integers is never halfway between two, so rounding is exact.
    const int v = (colour.red() + colour.green() + colour.blue() + 1) / 3;
    return Colour::rgb(v, v, v);
}

} // namespace Lumisong
