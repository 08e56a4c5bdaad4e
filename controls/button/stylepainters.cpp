#include "controls/button/stylepainters.h"

#include "controls/button/buttonenums.h"

namespace Lumisong {

StylePainter painterForStyle(int style)
{
    switch (style) {
    case StyleClassic:
    case StyleFlat:
    case StyleHotRaised:
    case StyleHotFlat:
        return paintClassicFamily;
    case StyleSoftGradient:
        return paintSoftGradient;
    case StyleGlass:
        return paintGlass;
    case StyleToolbar:
        return paintToolbar;
    case StyleSunrise:
        return paintSunrise;
    case StylePale:
        return paintPale;
    case StyleSky:
        return paintSky;
    case StyleAmber:
        return paintAmber;
    case StyleSatin:
        return paintSatin;
    case StyleBevel:
        return paintBevel;
    case StyleThemed:
        return paintThemed;
    default:
        return nullptr;
    }
}

} // namespace Lumisong
