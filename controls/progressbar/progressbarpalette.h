#pragma once

#include <array>
#include <optional>

#include "platform/colour.h"

namespace Lumisong {

// The nine colours a progress bar is drawn with. Each gradient band has a first
// half (upper half of a horizontal bar, left half of a vertical one) and a second.
class ProgressBarPalette
{
public:
    enum Slot {
        BackgroundFirstStart, // outer edge
        BackgroundFirstEnd,   // middle line
        BackgroundSecondStart,
        BackgroundSecondEnd,
        FillFirstStart,
        FillFirstEnd,
        FillSecondStart,
        FillSecondEnd,
        Border,
        SlotCount
    };

    // All black, as before any valid palette number was chosen.
    ProgressBarPalette() = default;

    // Palettes 1-9 are built in; 10 derives the palette from the two custom
    // colours (fill base, background base). Nothing for any other number.
    static std::optional<ProgressBarPalette> forTheme(int number, Colour custom1, Colour custom2);

    Colour at(Slot slot) const { return m_colours[slot]; }
    // Every colour replaced by its grey.
    ProgressBarPalette greyed() const;

    // Each channel plus k, capped at 255.
    static Colour lighten(Colour colour, int k);
    // rgb(v, v, v) with v the rounded mean of the channels.
    static Colour grey(Colour colour);

    friend bool operator==(const ProgressBarPalette &, const ProgressBarPalette &) = default;

private:
    std::array<Colour, SlotCount> m_colours{};
};

} // namespace Lumisong
