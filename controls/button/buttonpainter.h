#pragma once

#include <QRegion>

#include <optional>
#include <vector>

#include "controls/button/buttoncanvas.h"
#include "controls/button/captionlayout.h"
#include "controls/button/buttonpicture.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/buttonruntime.h"
#include "controls/button/stylepainters.h"
#include "platform/colour.h"

class QPainter;

namespace Lumisong {

class Surface;

// What a style recipe reads: the stored values, the run-time flags, the
// state to draw and the measures every recipe uses. Built afresh for each
// redraw; nothing of it is written while painting.
struct StyleInput
{
    const ButtonProperties &properties;
    const ButtonRuntime &runtime;
    int state = 0;
    int W = 0;
    int H = 0;
    int half = 0;                // round(H / 2), ties to even
    Colour C;                    // the translated background colour
    bool checked = false;        // a toggle whose Value is True
    bool focusOrDefault = false;
    int style = 0;               // the look being drawn
    int scheme = 0;              // its colour scheme
    Colour fore;                 // the translated foreground colour
};

// Whether a look that has a focus rectangle draws it now: ShowFocusRect, or
// the button has the focus while the window shows keyboard focus cues.
bool showsFocusRect(const StyleInput &in);
// Whether the look of a style draws a focus rectangle of its own; the others
// get a one-pixel dotted rectangle just inside their edge as the keyboard cue.
bool hasOwnFocusRect(int style);

// Paints the whole button onto its Surface once: the entry point Redraw, the
// shared content step (picture, caption, drop-down symbol) and the window
// shape. The style recipes are free functions (stylepainters.h) that use the
// public helpers here. One painter serves one redraw: the layout of the
// previous redraw comes in (a picture without a place of its own stays where
// it was), and the new layout and the shape go out with the result.
class ButtonPainter
{
public:
    ButtonPainter(Surface &surface, const CaptionLayout::Result &previous);

    // What a redraw hands back to the window: the layout it placed, and the
    // window shape when the style's look gives one (else the shape stays).
    struct Painted
    {
        CaptionLayout::Result layout;
        std::optional<QRegion> shape;
    };
    // Clears and repaints everything with the recipe of the style.
    Painted Redraw(const ButtonProperties &properties, const ButtonRuntime &runtime);

    // The outline of a style on a W x H control: rounded 3 x 3 for styles 2,
    // 3, 7 and 9, 4 x 4 for 6 and 10, else the plain rectangle.
    static QRegion windowRegionFor(int style, int width, int height);
    // The outline of the style being drawn, at the size being drawn.
    static QRegion outline(const StyleInput &in);

    // For the recipes.
    ButtonCanvas &canvas() { return m_canvas; }
    // The content step: picture, caption effects, caption, drop-down symbol.
    void DrawContent(const StyleInput &in);
    // The whole face in one colour, then the content step; returns the
    // style's outline, the shape of a plain face.
    QRegion DrawPlainFace(const StyleInput &in, Colour fill);

private:
    void ChoosePicture(const StyleInput &in);
    void DrawPicture(const StyleInput &in, const PixelRect &rect, std::optional<Colour> tint);
    void DrawPictureShadow(const StyleInput &in);
    // One copy of the caption, moved by (dx, dy).
    struct CaptionPass
    {
        int dx = 0;
        int dy = 0;
        Colour colour;
    };
    // The copies the caption effect draws before the caption itself.
    static std::vector<CaptionPass> captionEffectPasses(const StyleInput &in);
    void DrawCaption(const StyleInput &in, Colour colour);
    void drawSymbol(const StyleInput &in);

    Surface &m_surface;
    ButtonCanvas m_canvas;
    // The working state of this one redraw.
    ButtonPicturePtr m_current;
    CaptionLayout::Result m_layout;
};

} // namespace Lumisong
