#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

#include "platform/colour.h"

class QImage;

namespace Lumisong {

class ButtonPicture;
struct ButtonProperties;

// Composes a button picture onto already painted pixels, in the integer
// arithmetic of the button: opacity blends divide by 256, alpha scales by
// A * k / 255, the lighten and darken effects are table look-ups.
class PictureComposer
{
public:
    // How one picture is laid on the face.
    struct Params
    {
        int opacity = 255;      // k, 0..255
        int effect = 0;         // PictureEffect; other values act as none
        bool grey = false;      // disabled grey look; effects are then skipped
        std::optional<Colour> tint; // none: the picture itself; else its silhouette in this colour
        bool useMaskColor = true;
        Colour transparentColour{0}; // stored value; a system reference never matches a pixel
    };

    // Lighter[v] = min(255, v * 293 / 255), Darker[v] = v * 217 / 255.
    static const std::array<quint8, 256> &lighter();
    static const std::array<quint8, 256> &darker();

    // Opacity, effect and grey switch for a state (ButtonState) and the
    // disabled looks; no tint.
    static Params paramsFor(const ButtonProperties &properties, int state);

    // Composes the picture with its top-left corner at (left, top) of target
    // (Format_RGB32 or ARGB32), clipped to the target.
    static void compose(QImage &target, int left, int top, const ButtonPicture &picture,
                        const Params &params);

    // Grey value of a pixel: round(round(0.3 r) + 0.59 g + 0.11 b), ties to even.
    static int greyOf(int red, int green, int blue);
};

} // namespace Lumisong
