#include "controls/button/colourmath.h"

#include <cmath>

namespace Lumisong {

namespace {

int shiftChannel(int channel, double delta, bool lighten)
{
    const double shifted = std::nearbyint(double(channel) + delta);
    if (lighten)
        return shifted > 255.0 ? 255 : int(shifted);
    return shifted < 0.0 ? 0 : int(shifted);
}

int averageChannel(int first, int second)
{
    return roundEven((double(first) + double(second)) / 2.0);
}

} // namespace

Colour ShiftColor(Colour colour, float amount)
{
    const double delta = double(amount) * 255.0;
    const bool lighten = amount > 0.0f;
    return Colour::rgb(shiftChannel(colour.red(), delta, lighten),
                       shiftChannel(colour.green(), delta, lighten),
                       shiftChannel(colour.blue(), delta, lighten));
}

Colour AverageColor(Colour first, Colour second)
{
    return Colour::rgb(averageChannel(first.red(), second.red()),
                       averageChannel(first.green(), second.green()),
                       averageChannel(first.blue(), second.blue()));
}

Colour TranslateColor(Colour colour)
{
    return colour.resolved();
}

Colour SystemRgb(int index)
{
    return TranslateColor(Colour::system(index));
}

int roundEven(double value)
{
    // nearbyint rounds to nearest even in the default rounding mode.
    return int(std::nearbyint(value));
}

} // namespace Lumisong
