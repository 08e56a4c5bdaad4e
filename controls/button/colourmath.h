#pragma once

#include "platform/colour.h"

// Colour and rounding arithmetic of the skinned button, on plain RGB colours
// (system references must be resolved first).

namespace Lumisong {

// Lightens (amount > 0) or darkens (amount <= 0) each channel by amount * 255.
// The amount is single precision and the product is formed from it in double
// precision, rounded to nearest with ties to even, so 0.1 adds 26 and 0.3
// adds 77; results are capped at 255 (lightening) or floored at 0 (darkening).
Colour ShiftColor(Colour colour, float amount);

// Per-channel mean, rounded to nearest with ties to even (255 and 0 give 128).
Colour AverageColor(Colour first, Colour second);

// The RGB value a colour property stands for: system references resolved
// through the system colour table; an unknown reference gives Colour::Invalid.
Colour TranslateColor(Colour colour);

// The current RGB value of system colour `index` (SystemColours::Index).
Colour SystemRgb(int index);

// Nearest integer, ties to even: the one rounding rule of the button's drawing.
int roundEven(double value);

} // namespace Lumisong
