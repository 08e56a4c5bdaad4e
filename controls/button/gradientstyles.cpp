// Looks with shaded faces that follow the colour scheme: soft gradient (2),
// glass (3), toolbar (4) and sunrise (5).

#include "controls/button/stylepainters.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

constexpr Colour White = Colour::rgb(255, 255, 255);

// The two-pixel ring of the soft gradient look, eight lines.
struct Ring
{
    Colour top2, top1, outer, inner, innerBottom, bottom;
};

void drawRing(ButtonCanvas &c, int W, int H, const Ring &r)
{
    c.DrawLine(1, 2, W - 2, 2, r.top2);
    c.DrawLine(1, 1, W - 2, 1, r.top1);
    c.DrawLine(1, 1, 1, H - 2, r.outer);
    c.DrawLine(W - 2, 2, W - 2, H - 2, r.outer);
    c.DrawLine(2, 2, 2, H - 3, r.inner);
    c.DrawLine(W - 3, 3, W - 3, H - 3, r.inner);
    c.DrawLine(2, H - 3, W - 2, H - 3, r.innerBottom);
    c.DrawLine(2, H - 2, W - 2, H - 2, r.bottom);
}

const Ring HoverRing{Colour::rgb(253, 216, 137), Colour::rgb(255, 240, 207), Colour::rgb(249, 189, 73),
                     Colour::rgb(252, 210, 122), Colour::rgb(248, 179, 48),  Colour::rgb(229, 151, 0)};
const Ring BlueDefaultRing{Colour::rgb(188, 212, 246), Colour::rgb(206, 231, 255),
                           Colour::rgb(142, 175, 230), Colour::rgb(184, 209, 244),
                           Colour::rgb(137, 173, 228), Colour::rgb(105, 130, 238)};
// The olive ring names colours for its sides and bottoms; its two top lines
// take the outer sides' colour.
const Ring OliveDefaultRing{Colour::rgb(194, 209, 143), Colour::rgb(194, 209, 143),
                            Colour::rgb(194, 209, 143), Colour::rgb(177, 203, 128),
                            Colour::rgb(160, 200, 104), Colour::rgb(168, 167, 102)};

// The face of the soft gradient look at rest and on hover.
void softGradientFace(ButtonPainter &painter, const StyleInput &in)
{
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    switch (scheme) {
    case SchemeBlue:
    case SchemeOlive:
    case SchemeCustom:
        c.FillGradient(0, 0, W, H, ShiftColor(C, 0.07f), C, 1);
        c.FillGradient(0, 0, W, 4, ShiftColor(C, 0.1f), ShiftColor(C, 0.08f), 1);
        break;
    case SchemeSilver: {
        c.FillGradient(0, 0, W, half, ShiftColor(C, 0.22f), C, 1);
        c.FillGradient(0, half, W, half, ShiftColor(C, -0.01f), ShiftColor(C, -0.15f), 1);
        break;
    }
    default:
        break;
    }
}

} // namespace

StyleShape paintSoftGradient(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const bool blueFamily = scheme == SchemeBlue || scheme == SchemeOlive || scheme == SchemeCustom;

    if (!p.enabled) {
        shape = ButtonPainter::outline(in);
        c.FillBox(AverageColor(SystemRgb(SystemColours::ButtonFace),
                               ShiftColor(C, 0.1f)),
                  c.whole());
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, ShiftColor(C, -0.1f));
        c.SetCornerPixels(ShiftColor(C, -0.1f));
        return shape;
    }

    switch (state) {
    case StateNormal:
        shape = ButtonPainter::outline(in);
        softGradientFace(painter, in);
        painter.DrawContent(in);
        if (blueFamily) {
            c.DrawLine(1, H - 2, W - 2, H - 2, ShiftColor(C, -0.09f));
            c.DrawLine(1, H - 3, W - 2, H - 3, ShiftColor(C, -0.05f));
            c.DrawLine(1, H - 4, W - 2, H - 4, ShiftColor(C, -0.01f));
            c.DrawLine(W - 2, 2, W - 2, H - 2, ShiftColor(C, -0.08f));
            c.DrawLine(1, 1, 1, H - 2, AverageColor(White, C));
        } else if (scheme == SchemeSilver) {
            c.DrawLine(W - 2, 2, W - 2, H - 2, White);
            c.DrawLine(1, 1, 1, H - 2, White);
        }
        break;
    case StateHot:
        softGradientFace(painter, in);
        painter.DrawContent(in);
        drawRing(c, W, H, HoverRing);
        break;
    case StateDown:
        if (blueFamily) {
            c.FillBox(ShiftColor(C, -0.05f), c.whole());
            painter.DrawContent(in);
            c.DrawLine(1, 1, W - 2, 1, ShiftColor(C, -0.16f));
            c.DrawLine(1, 2, W - 2, 2, ShiftColor(C, -0.1f));
            c.DrawLine(1, H - 2, W - 2, H - 2, ShiftColor(C, 0.01f));
            c.DrawLine(1, 1, 1, H - 2, ShiftColor(C, -0.16f));
            c.DrawLine(2, 2, 2, H - 2, ShiftColor(C, -0.1f));
            c.DrawLine(W - 2, 2, W - 2, H - 2, ShiftColor(C, 0.04f));
        } else if (scheme == SchemeSilver) {
            c.FillGradient(0, 0, W, H - 6, ShiftColor(C, -0.2f), ShiftColor(C, 0.05f), 1);
            c.FillGradient(0, H - 6, W, H - 1, ShiftColor(C, 0.08f), White, 1);
            painter.DrawContent(in);
            c.FrameBox(1, 1, W - 2, H - 2, White);
        } else {
            painter.DrawContent(in);
        }
        break;
    default:
        painter.DrawContent(in);
        break;
    }

    if (rt.parentActive && in.focusOrDefault && state == StateNormal) {
        if (scheme == SchemeBlue || scheme == SchemeCustom) {
            drawRing(c, W, H, BlueDefaultRing);
        } else if (scheme == SchemeOlive) {
            drawRing(c, W, H, OliveDefaultRing);
        } else if (scheme == SchemeSilver) {
            Ring silver = BlueDefaultRing;
            silver.inner = White;
            drawRing(c, W, H, silver);
        }
    }
    if (rt.parentActive && showsFocusRect(in) && in.focusOrDefault)
        c.DrawFocusRect({2, 2, W - 2, H - 2});

    if (scheme == SchemeOlive) {
        c.FrameBox(0, 0, W, H, Colour::rgb(55, 98, 6));
        c.SetCornerPixels(ShiftColor(Colour::rgb(55, 98, 6), 0.3f));
    } else if (scheme == SchemeBlue || scheme == SchemeSilver || scheme == SchemeCustom) {
        c.FrameBox(0, 0, W, H, Colour::rgb(0, 60, 116));
        c.SetCornerPixels(ShiftColor(Colour::rgb(0, 60, 116), 0.3f));
    }
    return shape;
}

StyleShape paintGlass(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const int upper = roundEven(H / 2.0 - 2);
    const int lower = roundEven(H - H / 2.0 - 1);

    if (!p.enabled) {
        shape = painter.DrawPlainFace(in, ShiftColor(C, 0.03f));
        c.FrameBox(0, 0, W, H, ShiftColor(C, -0.25f));
        c.FrameBox(1, 1, W - 2, H - 2, ShiftColor(C, 0.25f));
        c.SetCornerPixels(ShiftColor(C, -0.03f));
        return shape;
    }

    // The 5-pixel side bands: left upper, left lower, right upper, right lower.
    auto sideBands = [&, W = W, half = half](Colour lu0, Colour lu1, Colour ll0, Colour ll1) {
        c.FillGradient(1, 3, 5, upper, lu0, lu1, 0);
        c.FillGradient(1, half, 5, lower, ll0, ll1, 0);
        c.FillGradient(W - 6, 3, 5, upper, lu1, lu0, 0);
        c.FillGradient(W - 6, half, 5, lower, ll1, ll0, 0);
    };

    switch (state) {
    case StateNormal:
        shape = ButtonPainter::outline(in);
        c.FillGradient(1, 1, W - 1, H, ShiftColor(C, 0.05f), C, 1);
        c.FillGradient(1, half, W - 2, H - 2, ShiftColor(C, -0.02f), ShiftColor(C, -0.15f), 1);
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, Colour::rgb(112, 112, 112));
        c.FrameBox(1, 1, W - 2, H - 2, White);
        break;
    case StateHot:
        c.FillGradient(1, 1, W - 2, half, Colour::rgb(228, 247, 255), Colour::rgb(218, 243, 255), 1);
        c.FillGradient(1, half, W - 2, H - 2, Colour::rgb(193, 233, 255), Colour::rgb(174, 225, 253), 1);
        sideBands(Colour::rgb(205, 238, 255), Colour::rgb(228, 247, 255), Colour::rgb(143, 214, 250),
                  Colour::rgb(175, 228, 255));
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, Colour::rgb(50, 117, 167));
        c.FrameBox(1, 1, W - 2, H - 2, White);
        break;
    case StateDown:
        c.FillGradient(1, 1, W - 1, H, Colour::rgb(194, 228, 246), Colour::rgb(194, 228, 246), 1);
        c.FillGradient(1, half, W - 2, H - 2, Colour::rgb(154, 210, 240), Colour::rgb(154, 210, 240), 1);
        c.FrameBox(0, 0, W, H, Colour::rgb(29, 65, 92));
        c.DrawLine(1, 1, W - 1, 1, Colour::rgb(113, 156, 179));
        c.DrawLine(1, 2, W - 1, 2, Colour::rgb(169, 198, 214));
        c.DrawLine(1, 3, W - 1, 3, Colour::rgb(185, 217, 236));
        c.DrawLine(1, 1, 1, roundEven(H / 2.0 - 1), Colour::rgb(115, 176, 207));
        // The lower accent runs down the left inner edge to just above the
        // inner bottom row, staying within the lower half.
        c.DrawLine(1, half, 1, H - 2, Colour::rgb(43, 145, 197));
        sideBands(Colour::rgb(150, 205, 235), Colour::rgb(191, 225, 243), Colour::rgb(83, 176, 225),
                  Colour::rgb(151, 207, 237));
        painter.DrawContent(in);
        break;
    default:
        painter.DrawContent(in);
        break;
    }

    if (rt.parentActive) {
        if (in.focusOrDefault && state == StateNormal) {
            c.FrameBox(0, 0, W, H, Colour::rgb(50, 117, 167));
            c.FrameBox(1, 1, W - 2, H - 2, Colour::rgb(72, 216, 251));
        }
        if (showsFocusRect(in) && rt.hasFocus)
            c.DrawFocusRect({2, 2, W - 2, H - 2});
    }
    c.SetCornerPixels(Colour::rgb(95, 150, 190));
    return shape;
}

StyleShape paintToolbar(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();

    Colour face = Colour::rgb(0, 0, 0);
    Colour border = Colour::rgb(0, 0, 0);
    switch (scheme) {
    case SchemeBlue:
        face = Colour::rgb(193, 210, 238);
        border = Colour::rgb(49, 106, 197);
        break;
    case SchemeOlive:
        face = Colour::rgb(212, 214, 186);
        border = Colour::rgb(147, 160, 112);
        break;
    case SchemeSilver:
        face = Colour::rgb(224, 223, 227);
        border = Colour::rgb(178, 180, 191);
        break;
    case SchemeCustom:
        face = C;
        border = ShiftColor(C, -0.12f);
        break;
    default:
        break;
    }

    if (in.checked) {
        c.FillBox(ShiftColor(face, -0.05f), c.whole());
        c.FrameBox(0, 0, W, H, border);
        if (in.runtime.mouseOver) {
            c.FillBox(ShiftColor(face, -0.01f), c.whole());
            c.FrameBox(0, 0, W, H, border);
        }
        painter.DrawContent(in);
        return shape;
    }

    switch (state) {
    case StateNormal:
        c.FillBox(C, c.whole());
        break;
    case StateHot:
        c.FillBox(ShiftColor(face, 0.03f), c.whole());
        break;
    case StateDown:
        c.FillBox(ShiftColor(face, -0.08f), c.whole());
        break;
    default:
        break;
    }
    painter.DrawContent(in);
    if (state != StateNormal)
        c.FrameBox(0, 0, W, H, border);
    return shape;
}

StyleShape paintSunrise(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const Colour navy = Colour::rgb(0, 0, 128);

    if (in.checked) {
        if (in.runtime.mouseOver)
            c.FillGradient(0, 0, W, H, Colour::rgb(254, 145, 78), Colour::rgb(255, 211, 142), 1);
        else
            c.FillGradient(0, 0, W, H, Colour::rgb(255, 213, 140), Colour::rgb(255, 173, 85), 1);
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, navy);
        return shape;
    }

    switch (state) {
    case StateHot:
        c.FillGradient(0, 0, W, H, Colour::rgb(255, 244, 204), Colour::rgb(255, 208, 145), 1);
        break;
    case StateDown:
        c.FillGradient(0, 0, W, H, Colour::rgb(254, 145, 78), Colour::rgb(255, 211, 142), 1);
        break;
    case StateNormal: {
        shape = ButtonPainter::outline(in);
        c.FillGradient(0, 0, W, half, AverageColor(White, ShiftColor(C, 0.08f)), C, 1);
        c.FillGradient(0, half, W, roundEven(H / 2.0 + 1), C, ShiftColor(C, -0.15f), 1);
        break;
    }
    default:
        break;
    }
    painter.DrawContent(in);
    if (state != StateNormal)
        c.FrameBox(0, 0, W, H, navy);
    return shape;
}

} // namespace Lumisong
