#include "controls/button/buttonpainter.h"

#include <QPainter>
#include <QPainterPath>

#include "controls/button/buttonenums.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/captiontext.h"
#include "controls/button/colourmath.h"
#include "controls/button/picturecomposer.h"
#include "controls/button/stylepainters.h"
#include "controls/button/symbolglyph.h"
#include "platform/surface.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

// The picture where `use` holds and there is one, else the fallback.
ButtonPicturePtr preferred(bool use, const ButtonPicturePtr &picture, const ButtonPicturePtr &fallback)
{
    return use && picture ? picture : fallback;
}

} // namespace

ButtonPainter::ButtonPainter(Surface &surface, const CaptionLayout::Result &previous)
    : m_surface(surface)
    , m_canvas(surface)
    , m_layout(previous)
{
}

QRegion ButtonPainter::windowRegionFor(int style, int width, int height)
{
    switch (style) {
    case StyleSoftGradient:
    case StyleGlass:
    case StyleSky:
    case StyleSatin:
        return Surface::roundRectRegion({0, 0, width + 1, height + 1}, 3, 3);
    case StylePale:
    case StyleBevel:
        return Surface::roundRectRegion({0, 0, width + 1, height + 1}, 4, 4);
    default:
        return QRegion(0, 0, std::max(width, 0), std::max(height, 0));
    }
}

QRegion ButtonPainter::outline(const StyleInput &in)
{
    return windowRegionFor(in.style, in.W, in.H);
}

ButtonPainter::Painted ButtonPainter::Redraw(const ButtonProperties &properties, const ButtonRuntime &runtime)
{
    if (m_surface.isEmpty())
        return {m_layout, std::nullopt};
    m_surface.clear(SystemRgb(SystemColours::ButtonFace));
    const int style = properties.buttonStyle;
    const StylePainter paint = painterForStyle(style);
    if (!paint)
        return {m_layout, std::nullopt};
    const int H = m_surface.height();
    const StyleInput in{properties,
                        runtime,
                        runtime.state,
                        m_surface.width(),
                        H,
                        roundEven(H / 2.0),
                        TranslateColor(properties.backColor),
                        properties.mode != ModePush && properties.value,
                        runtime.hasFocus || runtime.isDefault,
                        style,
                        properties.colorScheme,
                        TranslateColor(properties.foreColor)};
    const StyleShape shape = paint(*this, in);
    if (runtime.focusCues && runtime.hasFocus && runtime.userMode && runtime.parentActive
        && !hasOwnFocusRect(style))
        m_canvas.DrawFocusRect({1, 1, in.W - 1, in.H - 1});
    return {m_layout, shape};
}

bool showsFocusRect(const StyleInput &in)
{
    return in.properties.showFocusRect || (in.runtime.focusCues && in.runtime.hasFocus);
}

bool hasOwnFocusRect(int style)
{
    switch (style) {
    case StyleClassic:
    case StyleFlat:
    case StyleSoftGradient:
    case StyleGlass:
    case StyleSatin:
    case StyleHotRaised:
    case StyleHotFlat:
        return true;
    default:
        return false;
    }
}

void ButtonPainter::ChoosePicture(const StyleInput &in)
{
    const ButtonProperties &p = in.properties;
    const bool down = in.state == StateDown || in.checked;
    const bool hot = down || in.state == StateHot;
    // Down falls back on hot, and hot on normal.
    m_current = preferred(down, p.pictureDown, preferred(hot, p.pictureHot, p.pictureNormal));
}

void ButtonPainter::DrawPicture(const StyleInput &in, const PixelRect &rect, std::optional<Colour> tint)
{
    if (!m_current || m_current->isNull())
        return;
    PictureComposer::Params params = PictureComposer::paramsFor(in.properties, in.state);
    params.tint = tint;
    PictureComposer::compose(m_surface.pixels(), rect.left, rect.top, *m_current, params);
}

void ButtonPainter::DrawPictureShadow(const StyleInput &in)
{
    const Colour grey = AverageColor(Colour::rgb(128, 128, 128), in.C);
    const PixelRect &rect = m_layout.picture;
    DrawPicture(in, movedBy(rect, 2, 2), ShiftColor(grey, 0.05f));
    DrawPicture(in, movedBy(rect, 1, 1), ShiftColor(grey, -0.1f));
    DrawPicture(in, rect, std::nullopt);
}

std::vector<ButtonPainter::CaptionPass> ButtonPainter::captionEffectPasses(const StyleInput &in)
{
    const Colour back = in.C;
    switch (in.properties.captionEffects) {
    case CaptionRaised:
        return {{-1, -1, ShiftColor(back, 0.14f)}};
    case CaptionSunken:
        return {{1, 1, ShiftColor(back, 0.14f)}};
    case CaptionShadow:
        return {{1, 1, Colour::rgb(192, 192, 192)}};
    case CaptionGlow:
    case CaptionOutline: {
        const Colour colour = ShiftColor(back, in.properties.captionEffects == CaptionGlow ? 0.1f : -0.1f);
        return {{1, 1, colour}, {1, -1, colour}, {-1, 1, colour}, {-1, -1, colour}};
    }
    default:
        return {};
    }
}

// The caption with its effect copies, as one sharp step of the surface.
void ButtonPainter::DrawCaption(const StyleInput &in, Colour colour)
{
    std::vector<CaptionPass> passes = captionEffectPasses(in);
    passes.push_back({0, 0, colour});
    const QFont font = m_surface.font();
    const QString caption = in.properties.caption;
    const PixelRect rect = m_layout.caption;
    const bool rightToLeft = in.properties.rightToLeft;
    m_surface.drawSharp([=](QPainter &painter) {
        painter.setFont(font);
        for (const CaptionPass &pass : passes)
            CaptionText::draw(painter, caption, movedBy(rect, pass.dx, pass.dy), pass.colour, rightToLeft);
    });
}

void ButtonPainter::drawSymbol(const StyleInput &in)
{
    const QChar symbol = QString::number(in.properties.dropDownSymbol).front();
    const Colour colour = in.properties.enabled ? in.fore : SystemRgb(SystemColours::GrayText);
    const PixelRect &cell = m_layout.symbol;
    if (m_surface.devicePixelRatio() == 1.0) {
        for (const PixelRect &span : SymbolGlyph::spans(symbol)) {
            // The glyph starts at the cell's top-left corner and is clipped to it.
            const PixelRect placed = movedBy(span, cell.left, cell.top).intersected(cell);
            m_canvas.FillBox(colour, placed);
        }
        return;
    }
    // Above one device pixel per pixel the glyph's own outline is filled,
    // so its slopes are as fine as the screen.
    const QPainterPath outline = SymbolGlyph::outline(symbol).translated(cell.left, cell.top);
    const QRect clip = cell.toQRect();
    const QColor ink(colour.red(), colour.green(), colour.blue());
    m_surface.drawSharp([outline, clip, ink](QPainter &painter) {
        painter.setClipRect(clip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(outline, ink);
    });
}

QRegion ButtonPainter::DrawPlainFace(const StyleInput &in, Colour fill)
{
    m_canvas.FillBox(fill, m_canvas.whole());
    DrawContent(in);
    return outline(in);
}

void ButtonPainter::DrawContent(const StyleInput &in)
{
    const ButtonProperties &p = in.properties;
    const int w = in.W;
    const int h = in.H;
    ChoosePicture(in);

    CaptionLayout::Input input;
    input.width = w;
    input.height = h;
    input.pictureWidth = m_current ? m_current->width() : 0;
    input.pictureHeight = m_current ? m_current->height() : 0;
    input.state = in.state;
    input.previousPicture = m_layout.picture;
    input.style = in.style;

    const QSize text = CaptionText::measure(m_surface.font(), p.caption,
                                            CaptionLayout::measureWidth(p, w), p.rightToLeft);
    m_layout = CaptionLayout::layout(p, input, text.width(), text.height());

    if (m_layout.separator) {
        // The separator takes its shades from the face under (7, 7).
        const Colour dark = ShiftColor(m_surface.pixel(7, 7), -0.1f);
        m_canvas.DrawLine(w - 16, 3, w - 16, h - 3, dark);
        const Colour light = ShiftColor(m_surface.pixel(7, 7), 0.1f);
        m_canvas.DrawLine(w - 15, 3, w - 15, h - 3, light);
    }

    const bool lifted = p.picturePushOnHover && in.state == StateHot;
    if (lifted) {
        DrawPicture(in, m_layout.picture, Colour::rgb(192, 192, 192));
        DrawPicture(in, movedBy(m_layout.picture, -2, -2), std::nullopt);
    } else {
        DrawPicture(in, m_layout.picture, std::nullopt);
    }
    if (p.pictureShadow && !lifted)
        DrawPictureShadow(in);

    if (!p.caption.isEmpty() && !m_layout.caption.isEmpty()) {
        Colour colour = SystemRgb(SystemColours::GrayText);
        if (p.enabled)
            colour = in.state == StateHot ? TranslateColor(p.foreColorHover) : in.fore;
        DrawCaption(in, colour);
    }

    if (m_layout.hasSymbol)
        drawSymbol(in);
}

} // namespace Lumisong
