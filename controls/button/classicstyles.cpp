// The classic family: 3-D edges on the plain face (styles 0, 1, 11, 12).

#include "controls/button/stylepainters.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

using Edge = ButtonCanvas::Edge;

} // namespace

StyleShape paintClassicFamily(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const Colour back = in.C;
    const PixelRect whole = c.whole();

    if (!p.enabled) {
        if (style == StyleClassic)
            c.DrawEdge(whole, Edge::Raised);
        else if (style == StyleFlat)
            c.DrawEdge(whole, Edge::RaisedInner);
        painter.DrawContent(in);
        return shape;
    }

    if (in.checked) {
        c.FillBox(ShiftColor(back, 0.02f), whole);
        painter.DrawContent(in);
        if (style == StyleHotFlat)
            return shape;
        c.DrawEdge(whole, Edge::Sunken);
        if (style == StyleClassic && showsFocusRect(in) && rt.hasFocus)
            c.FrameBox(4, 4, W - 7, H - 7, SystemRgb(SystemColours::AppWorkspace));
        return shape;
    }

    switch (state) {
    case StateNormal:
        shape = painter.DrawPlainFace(in, back);
        if (style == StyleClassic)
            c.DrawEdge(whole, Edge::Raised);
        else if (style == StyleFlat)
            c.DrawEdge(whole, Edge::RaisedInner);
        break;
    case StateHot:
        c.FillBox(back, whole);
        painter.DrawContent(in);
        if (style == StyleFlat || style == StyleHotFlat)
            c.DrawEdge(whole, Edge::RaisedInner);
        else
            c.DrawEdge(whole, Edge::Raised);
        break;
    case StateDown:
        c.FillBox(back, whole);
        painter.DrawContent(in);
        if (style == StyleClassic) {
            c.FrameBox(1, 1, W - 2, H - 2, Colour::rgb(172, 168, 153));
            c.FrameBox(0, 0, W, H, Colour::rgb(0, 0, 0));
        } else if (style == StyleHotRaised) {
            c.DrawEdge(whole, Edge::Sunken);
        } else {
            c.FrameBox(0, 0, W, H, Colour::rgb(255, 255, 255));
            c.FrameBox(0, 0, W + 1, H + 1, SystemRgb(SystemColours::GrayText));
        }
        break;
    default:
        break;
    }

    if (!in.focusOrDefault)
        return shape;
    if (rt.userMode && showsFocusRect(in) && rt.parentActive) {
        const int inset = (style == StyleClassic || style == StyleHotRaised) ? 4 : 3;
        c.DrawFocusRect({inset, inset, W - inset, H - inset});
    }
    if (state != StateDown && style == StyleClassic) {
        c.DrawEdge({0, 0, W - 1, H - 1}, Edge::Raised);
        c.FrameBox(0, 0, W - 1, H - 1, SystemRgb(SystemColours::AppWorkspace));
        c.FrameBox(0, 0, W, H, Colour::rgb(0, 0, 0));
    }
    return shape;
}

} // namespace Lumisong
