// Looks with fixed palettes over the face colour: pale (6), sky (7),
// amber (8), satin (9) and bevel (10).

#include "controls/button/stylepainters.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

constexpr Colour White = Colour::rgb(255, 255, 255);

} // namespace

StyleShape paintPale(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    // This look owns its caption colour: the model settles it before painting.
    auto [p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();

    if (p.mode != ModePush) {
        if (p.value && rt.mouseDown)
            state = StateDown;
        if (p.value && state != StateDown) {
            c.FillBox(Colour::rgb(254, 254, 254), c.whole());
            painter.DrawContent(in);
            c.FrameBox(0, 0, W, H, Colour::rgb(122, 152, 175));
            c.SetCornerPixels(ShiftColor(Colour::rgb(160, 179, 193), -0.2f));
            if (state == StateHot) {
                c.DrawLine(W - 2, 2, W - 2, H - 2, Colour::rgb(242, 240, 237));
                c.DrawLine(2, H - 2, W - 2, H - 2, Colour::rgb(228, 222, 216));
                c.DrawLine(1, H - 3, W - 1, H - 3, Colour::rgb(239, 236, 232));
                c.DrawLine(1, H - 4, W - 1, H - 4, Colour::rgb(250, 249, 248));
            }
            return shape;
        }
    }

    switch (state) {
    case StateNormal:
        shape = painter.DrawPlainFace(in, C);
        break;
    case StateHot: {
        c.FillGradient(0, 0, W, half, Colour::rgb(254, 254, 253), Colour::rgb(244, 244, 238), 1);
        c.FillGradient(0, half, W, half, Colour::rgb(244, 244, 238), Colour::rgb(241, 241, 234), 1);
        painter.DrawContent(in);
        c.DrawLine(W - 2, 2, W - 2, H - 2, Colour::rgb(234, 231, 224));
        c.DrawLine(W - 3, 2, W - 3, H - 2, Colour::rgb(240, 240, 234));
        c.DrawLine(0, H - 4, W, H - 4, Colour::rgb(238, 237, 229));
        c.DrawLine(0, H - 3, W, H - 3, Colour::rgb(228, 225, 214));
        c.DrawLine(0, H - 2, W, H - 2, Colour::rgb(215, 210, 198));
        c.FrameBox(0, 0, W, H, Colour::rgb(206, 206, 195));
        c.SetCornerPixels(ShiftColor(Colour::rgb(212, 212, 201), -0.05f));
        break;
    }
    case StateDown:
        c.FillBox(Colour::rgb(229, 228, 221), c.whole());
        painter.DrawContent(in);
        c.DrawLine(1, 1, W - 2, 1, Colour::rgb(215, 213, 204));
        c.DrawLine(1, 2, W - 2, 2, Colour::rgb(222, 220, 213));
        c.DrawLine(1, H - 3, W - 2, H - 3, Colour::rgb(235, 234, 227));
        c.DrawLine(1, H - 2, W - 2, H - 2, Colour::rgb(240, 239, 234));
        c.FrameBox(0, 0, W, H, Colour::rgb(157, 157, 146));
        c.SetCornerPixels(ShiftColor(Colour::rgb(181, 180, 171), -0.2f));
        break;
    default:
        break;
    }
    return shape;
}

StyleShape paintSky(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const Colour frame = Colour::rgb(97, 158, 202);
    const Colour corner = ShiftColor(frame, 0.3f);

    if (!in.properties.enabled) {
        c.FillBox(C, c.whole());
        painter.DrawContent(in);
        c.SetCornerPixels(C);
        return shape;
    }
    switch (state) {
    case StateNormal:
        shape = painter.DrawPlainFace(in, C);
        break;
    case StateHot:
        c.FillGradient(1, 1, W - 2, H - 2, Colour::rgb(241, 249, 253), Colour::rgb(208, 236, 248), 1);
        c.FillGradient(1, roundEven(H / 1.7), W - 2, H - 2, Colour::rgb(208, 236, 248),
                       Colour::rgb(208, 236, 248), 1);
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, frame);
        c.FrameBox(1, 1, W - 2, H - 2, White);
        c.SetCornerPixels(corner);
        break;
    case StateDown:
        c.FillGradient(1, 1, W - 2, H - 2, Colour::rgb(176, 222, 241), Colour::rgb(219, 241, 249), 1);
        painter.DrawContent(in);
        c.FrameBox(0, 0, W, H, frame);
        c.FrameBox(1, 1, W - 2, H - 2, White);
        c.SetCornerPixels(corner);
        break;
    default:
        break;
    }
    return shape;
}

StyleShape paintAmber(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const auto &[p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();
    const int T = roundEven(H / 2.7);
    const int L = roundEven(H - H / 2.7);
    const Colour frame = ShiftColor(C, -0.34f);

    auto bands = [&, W = W](Colour u0, Colour u1, Colour l0, Colour l1) {
        c.FillGradient(0, 0, W, T, u0, u1, 1);
        c.FillGradient(0, T, W, L, l0, l1, 1);
    };
    auto pressedBands = [&] {
        bands(Colour::rgb(255, 193, 88), Colour::rgb(255, 175, 81), Colour::rgb(255, 143, 70),
              Colour::rgb(255, 211, 95));
    };

    if (in.checked) {
        bands(Colour::rgb(255, 217, 169), Colour::rgb(255, 192, 111), Colour::rgb(255, 171, 63),
              Colour::rgb(255, 225, 117));
        c.FrameBox(0, 0, W, H, frame);
        if (in.runtime.mouseOver) {
            pressedBands();
            c.FrameBox(0, 0, W, H, frame);
        }
        painter.DrawContent(in);
        return shape;
    }

    switch (state) {
    case StateDown:
        pressedBands();
        break;
    case StateHot:
        bands(Colour::rgb(255, 255, 225), Colour::rgb(255, 234, 172), Colour::rgb(255, 215, 103),
              Colour::rgb(255, 228, 153));
        break;
    case StateNormal:
        c.FillBox(C, c.whole());
        bands(AverageColor(ShiftColor(C, 0.09f), White), AverageColor(ShiftColor(C, 0.07f), C), C,
              ShiftColor(C, 0.03f));
        break;
    default:
        break;
    }
    painter.DrawContent(in);
    c.FrameBox(0, 0, W, H, frame);
    return shape;
}

StyleShape paintSatin(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    auto [p, rt, state, W, H, half, C, checked, focusOrDefault, style, scheme, fore] = in;
    ButtonCanvas &c = painter.canvas();

    if (!p.enabled)
        state = StateNormal;
    switch (state) {
    case StateNormal:
    case StateHot:
        if (state == StateNormal)
            shape = ButtonPainter::outline(in);
        c.FillGradient(0, 0, W, half, White, C, 1);
        c.FillGradient(0, half, W, H, C, C, 1);
        painter.DrawContent(in);
        c.FrameBox(1, 1, W - 2, H, White);
        c.FrameBox(0, 0, W, H, ShiftColor(C, -0.2f));
        c.DrawLine(2, H - 1, W - 2, H - 1, ShiftColor(C, -0.25f));
        break;
    case StateDown:
        c.FillGradient(0, 0, W, half, White, ShiftColor(C, -0.1f), 1);
        c.FillGradient(0, half, W, H, ShiftColor(C, -0.1f), ShiftColor(C, -0.05f), 1);
        painter.DrawContent(in);
        c.FrameBox(1, 1, W - 2, H, White);
        c.FrameBox(0, 0, W, H, ShiftColor(C, -0.23f));
        c.DrawLine(2, H - 1, W - 2, H - 1, ShiftColor(C, -0.4f));
        break;
    default:
        break;
    }
    c.SetCornerPixels(ShiftColor(C, 0.05f));
    if (rt.parentActive && showsFocusRect(in) && in.focusOrDefault)
        c.DrawFocusRect({3, 3, W - 3, H - 3});
    return shape;
}

StyleShape paintBevel(ButtonPainter &painter, const StyleInput &in)
{
    StyleShape shape;
    const int state = in.state;
    struct Look
    {
        bool region;
        float fill, a, b, d, f, k;
    };
    // fill is a shift of C; the disabled look fills with C itself.
    static constexpr Look Disabled{false, 0.0f, 0.05f, -0.02f, 0.08f, -0.2f, -0.23f};
    static constexpr Look Normal{true, -0.03f, 0.1f, -0.05f, 0.1f, -0.33f, -0.36f};
    static constexpr Look Hot{false, -0.03f, 0.15f, -0.05f, 0.2f, -0.33f, -0.36f};
    static constexpr Look Down{false, -0.03f, 0.1f, -0.08f, 0.05f, -0.36f, -0.36f};

    const Look *look = nullptr;
    if (!in.properties.enabled)
        look = &Disabled;
    else if (state == StateNormal)
        look = &Normal;
    else if (state == StateHot)
        look = &Hot;
    else if (state == StateDown)
        look = &Down;
    if (!look)
        return shape;

    ButtonCanvas &c = painter.canvas();
    const Colour C = in.C;
    const int W = in.W;
    const int H = in.H;
    if (look->region)
        shape = ButtonPainter::outline(in);
    c.FillBox(look == &Disabled ? C : ShiftColor(C, look->fill), c.whole());
    c.FillGradient(0, 0, W, 5, ShiftColor(AverageColor(C, White), look->a), C, 1);
    // Row 5 keeps the fill colour.
    c.FillGradient(0, 6, W, H - 1, ShiftColor(C, look->b), AverageColor(White, ShiftColor(C, look->d)), 1);
    painter.DrawContent(in);
    c.FrameBox(0, 0, W, H, ShiftColor(C, look->f));
    c.SetCornerPixels(ShiftColor(C, look->k));
    return shape;
}

} // namespace Lumisong
