#include "controls/button/tooltipcontent.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"

namespace Lumisong {

ToolTipContent ToolTipContent::from(const ButtonProperties &properties, bool rightToLeft)
{
    ToolTipContent content;
    content.balloon = properties.toolTipType == TooltipBalloon;
    content.rightToLeft = rightToLeft;
    content.title = properties.tooltipTitle;
    content.text = properties.toolTip;
    // The icon belongs to the title row: without a title there is neither.
    // Numbers outside the four icons show none.
    const int icon = properties.toolTipIcon;
    if (!content.title.isEmpty() && icon >= Information && icon <= Error)
        content.icon = icon;
    // 0 (black) keeps the system colour; so does a colour that cannot be translated.
    if (properties.tooltipBackColor != Colour(0)) {
        const Colour back = TranslateColor(properties.tooltipBackColor);
        if (back.value() != Colour::Invalid)
            content.back = back;
    }
    return content;
}

} // namespace Lumisong
