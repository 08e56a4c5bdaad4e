#pragma once

#include <QString>

#include "platform/colour.h"
#include "platform/fontdescription.h"

namespace Lumisong {

// The properties of a progress bar as plain values. A fresh state is the
// control before its host has created or loaded it: every number 0, no text.
struct ProgressBarState
{
    int value = 0;
    int max = 0;
    int min = 0;
    int roundedValue = 0;  // width and height of the corner ellipse, pixels
    bool enabled = false;  // false draws everything in grey
    int theme = 0;         // 1-9 built in, 10 custom, others keep the last palette
    int textStyle = 0;     // 1 value, 2 percentage, 3 Text, others no caption
    int orientations = 0;  // 1 fills left to right, 2 top to bottom, others no gradients
    int textAlignment = 0; // 1-9 a cell of a 3 x 3 grid by columns, others the top-left corner
    QString text;
    Colour textEffectColor;
    int textEffect = 0; // 1 plain, 2 raised, 3 sunken, 4 outlined, 5 shadowed, others nothing
    Colour textForeColor;
    FontDescription textFont;
    Colour customColour1; // fill and border base of the custom palette
    Colour customColour2; // background base of the custom palette
};

} // namespace Lumisong
