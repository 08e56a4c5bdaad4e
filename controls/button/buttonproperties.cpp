#include "controls/button/buttonproperties.h"

#include "controls/button/buttonenums.h"
#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

#include <optional>

namespace Lumisong {

namespace {

// Background for styles with a colour per scheme; nullopt keeps the one set.
std::optional<Colour> schemeBackColour(int style, int scheme)
{
    struct Row
    {
        Colour blue, olive, silver;
    };
    std::optional<Row> row;
    switch (style) {
    case StyleSoftGradient:
        row = Row{Colour::rgb(236, 235, 231), Colour::rgb(243, 238, 219), Colour::rgb(240, 241, 252)};
        break;
    case StyleGlass:
        row = Row{Colour::rgb(224, 236, 253), Colour::rgb(232, 237, 222),
                  ShiftColor(Colour::rgb(212, 212, 212), 0.06f)};
        break;
    case StyleSunrise:
        row = Row{Colour::rgb(202, 225, 252), Colour::rgb(212, 214, 186),
                  ShiftColor(Colour::rgb(160, 158, 186), 0.15f)};
        break;
    case StyleAmber:
    case StyleBevel:
        row = Row{Colour::rgb(173, 209, 255), Colour::rgb(212, 214, 186), Colour::rgb(224, 223, 227)};
        break;
    case StyleSatin:
        row = Row{Colour::rgb(173, 209, 255), Colour::rgb(212, 214, 186), Colour::rgb(213, 214, 225)};
        break;
    default:
        return std::nullopt;
    }
    switch (scheme) {
    case SchemeBlue:
        return row->blue;
    case SchemeOlive:
        return row->olive;
    case SchemeSilver:
        return row->silver;
    default:
        return std::nullopt;
    }
}

bool takesSystemFace(int style)
{
    switch (style) {
    case StyleClassic:
    case StyleFlat:
    case StyleToolbar:
    case StylePale:
    case StyleSky:
    case StyleHotRaised:
    case StyleHotFlat:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<int> DefaultSchemeForStyle(int style)
{
    switch (style) {
    case StyleGlass:
    case StyleSatin:
        return SchemeSilver;
    case StyleClassic:
    case StyleFlat:
    case StyleSoftGradient:
    case StyleToolbar:
    case StylePale:
    case StyleSky:
    case StyleAmber:
    case StyleBevel:
        return SchemeBlue;
    default:
        return std::nullopt;
    }
}

void ApplyColorScheme(ButtonProperties &properties, int style, int scheme)
{
    if (takesSystemFace(style))
        properties.backColor = SystemRgb(SystemColours::ButtonFace);
    else if (const auto colour = schemeBackColour(style, scheme))
        properties.backColor = *colour;

    ResetForeground(properties);
    properties.showFocusRect = style == StyleClassic || style == StyleFlat || style == StyleSatin;
    if (style == StyleToolbar)
        properties.picturePushOnHover = true;
}

void ResetForeground(ButtonProperties &properties, bool white)
{
    properties.foreColor = white ? Colour::rgb(255, 255, 255) : SystemRgb(SystemColours::ButtonText);
}

} // namespace Lumisong
