#pragma once

#include <QHash>

#include <optional>

#include "platform/colour.h"

namespace Lumisong {

// The one table that resolves system colours (index nn of 0x800000nn). In the
// running program it follows the application palette; tests and the preview
// tool pin it so that output is the same on every machine. Used from the GUI
// thread only.
class SystemColours
{
public:
    // Indices the controls use, as the platform numbers them.
    enum Index {
        ScrollBar = 0,
        Background = 1,
        ActiveCaption = 2,
        InactiveCaption = 3,
        Menu = 4,
        Window = 5,
        WindowFrame = 6,
        MenuText = 7,
        WindowText = 8,
        CaptionText = 9,
        ActiveBorder = 10,
        InactiveBorder = 11,
        AppWorkspace = 12,
        Highlight = 13,
        HighlightText = 14,
        ButtonFace = 15,
        ButtonShadow = 16,
        GrayText = 17,
        ButtonText = 18,
        InactiveCaptionText = 19,
        ButtonHighlight = 20,
        DarkShadow3D = 21,
        Light3D = 22,
        InfoText = 23,
        InfoBackground = 24,
        HotLight = 26,
        GradientActiveCaption = 27,
        GradientInactiveCaption = 28,
        MenuHighlight = 29,
        MenuBar = 30,
    };

    // The RGB value of system colour `index`; nothing for an unknown index.
    static std::optional<Colour> lookup(int index);

    // Pins the table to the standard values (button face rgb(240, 240, 240),
    // button text black, grey text rgb(109, 109, 109), ...).
    static void pinStandard();
    // Pins the table to `table`; indices it lacks fall back to the standard values.
    static void pin(const QHash<int, Colour> &table);
    // Back to following the application palette.
    static void unpin();
    static bool isPinned();

    // The standard value of `index`, independent of pinning and palette.
    static std::optional<Colour> standard(int index);
};

} // namespace Lumisong
