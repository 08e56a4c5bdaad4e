#pragma once

#include <QRegion>

#include <optional>
#include <vector>

#include "controls/button/buttoncanvas.h"
#include "controls/button/captionlayout.h"
#include "controls/button/buttonpicture.h"
#include "platform/colour.h"

class QPainter;

namespace Lumisong {

class Surface;
struct ButtonProperties;

// The run-time values a redraw reads (and, for checked toggles, writes): the
// visual state and the focus, default, activation and pointer flags.
struct ButtonRuntime
{
    int state = 0;              // ButtonState
    bool hasFocus = false;
    bool isDefault = false;
    bool parentActive = false;
    bool mouseOver = false;
    bool mouseDown = false;
    bool userMode = false;      // the host form is running, not being designed
    bool themed = true;         // the application style may draw style 13

    friend bool operator==(const ButtonRuntime &, const ButtonRuntime &) = default;
};

// Paints the whole button onto its Surface: the entry point Redraw, the
// shared content step (picture, caption, drop-down symbol) and the window
// shape. The style recipes are free functions (stylepainters.h) that use the
// public helpers here. Keeps the last picture rectangle between redraws.
class ButtonPainter
{
public:
    ButtonPainter(Surface &surface, ButtonProperties &properties, ButtonRuntime &runtime);

    // Clears and repaints everything. A checked toggle (not of styles 0 and 6)
    // is stored as pressed; style 13 without themes turns into style 2 with
    // the blue scheme for good.
    void Redraw();
    // Redraw's first rule on its own: a checked toggle (not of styles 0 and 6)
    // is stored as pressed.
    void storeCheckedLook();

    // The outline of a style on a W x H control: rounded 3 x 3 for styles 2,
    // 3, 7 and 9, 4 x 4 for 6 and 10, else the plain rectangle.
    static QRegion windowRegionFor(int style, int width, int height);
    void ApplyWindowRegion();
    void setWindowRegion(const QRegion &region);

    // For the recipes.
    ButtonCanvas &canvas() { return m_canvas; }
    ButtonProperties &properties() { return m_properties; }
    ButtonRuntime &runtime() { return m_runtime; }
    int W() const;
    int H() const;
    int half() const;           // round(H / 2), ties to even
    Colour C() const;           // the translated BackColor
    bool checked() const;       // a toggle whose Value is True
    bool focusOrDefault() const { return m_runtime.hasFocus || m_runtime.isDefault; }
    // The content step: picture, caption effects, caption, drop-down symbol.
    void DrawContent();

    // The last layout of the content step.
    const CaptionLayout::Result &lastLayout() const { return m_layout; }
    // The picture the last content step chose (may be empty).
    const ButtonPicturePtr &currentPicture() const { return m_current; }

private:
    void ChoosePicture();
    void DrawPicture(const PixelRect &rect, std::optional<Colour> tint);
    void DrawPictureShadow();
    // One copy of the caption, moved by (dx, dy).
    struct CaptionPass
    {
        int dx = 0;
        int dy = 0;
        Colour colour;
    };
    // The copies the caption effect draws before the caption itself.
    std::vector<CaptionPass> captionEffectPasses() const;
    void DrawCaption(Colour colour);
    void drawSymbol();

    Surface &m_surface;
    ButtonCanvas m_canvas;
    ButtonProperties &m_properties;
    ButtonRuntime &m_runtime;
    ButtonPicturePtr m_current;
    CaptionLayout::Result m_layout;
};

} // namespace Lumisong
