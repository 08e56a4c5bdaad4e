#pragma once

#include <QString>

#include <optional>

#include "platform/colour.h"

namespace Lumisong {

struct ButtonProperties;

// What a button's tooltip shows, taken from the button's properties when the
// tooltip is built: the shape, the title with its icon, the background colour,
// the direction and the text. A change of the properties shows from the next
// build on.
struct ToolTipContent
{
    // Title icons: none, information, warning, error.
    enum Icon { NoIcon = 0, Information = 1, Warning = 2, Error = 3 };

    bool balloon = false;       // tooltip type 1; any other value is rectangular
    int icon = NoIcon;          // as shown: no title row, no icon
    std::optional<Colour> back; // nothing: the system's tooltip colour
    bool rightToLeft = false;
    QString title;
    QString text;

    // `rightToLeft` is the tooltip's own flag, a copy of the button's.
    static ToolTipContent from(const ButtonProperties &properties, bool rightToLeft);

    friend bool operator==(const ToolTipContent &, const ToolTipContent &) = default;
};

} // namespace Lumisong
