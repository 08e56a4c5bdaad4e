#include "controls/button/picturecomposer.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonpicture.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace Lumisong {

namespace {

constexpr std::array<quint8, 256> makeTable(int factor)
{
    std::array<quint8, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = quint8(std::min(255, v * factor / 255));
    return table;
}

constexpr std::array<quint8, 256> kLighter = makeTable(293);
constexpr std::array<quint8, 256> kDarker = makeTable(217);

// The grey an icon's transparent parts become before keying.
constexpr Colour kIconMask = Colour::rgb(192, 192, 192);

inline int blend(int top, int under, int k)
{
    return (top * k + under * (255 - k)) / 256;
}

// Lays one source channel triple on a destination pixel (0xAARRGGBB) with
// weight k, following the silhouette / grey / effect rules.
inline QRgb composePixel(QRgb under, int r, int g, int b, int k, const PictureComposer::Params &p)
{
    if (k <= 0)
        return under;
    int tr, tg, tb;
    if (p.tint) {
        tr = p.tint->red();
        tg = p.tint->green();
        tb = p.tint->blue();
    } else if (p.grey) {
        tr = tg = tb = PictureComposer::greyOf(r, g, b);
    } else if (p.effect == EffectLighter) {
        tr = kLighter[r];
        tg = kLighter[g];
        tb = kLighter[b];
    } else if (p.effect == EffectDarker) {
        tr = kDarker[r];
        tg = kDarker[g];
        tb = kDarker[b];
    } else {
        tr = r;
        tg = g;
        tb = b;
    }
    if (k >= 255)
        return qRgb(tr, tg, tb);
    return qRgb(blend(tr, qRed(under), k), blend(tg, qGreen(under), k), blend(tb, qBlue(under), k));
}

} // namespace

const std::array<quint8, 256> &PictureComposer::lighter()
{
    return kLighter;
}

const std::array<quint8, 256> &PictureComposer::darker()
{
    return kDarker;
}

int PictureComposer::greyOf(int red, int green, int blue)
{
    return int(std::nearbyint(std::nearbyint(0.3 * red) + 0.59 * green + 0.11 * blue));
}

PictureComposer::Params PictureComposer::paramsFor(const ButtonProperties &properties, int state)
{
    Params params;
    switch (state) {
    case StateHot:
        params.opacity = properties.pictureOpacityOnOver;
        params.effect = properties.pictureEffectOnOver;
        break;
    case StateDown:
        params.opacity = properties.pictureOpacity;
        params.effect = properties.pictureEffectOnDown;
        break;
    default:
        params.opacity = properties.pictureOpacity;
        params.effect = EffectNone;
        break;
    }
    // A hot button keeps its hover look even when disabled.
    if (!properties.enabled && state != StateHot) {
        if (properties.disabledPictureMode == DisabledFaded) {
            params.opacity = 52;
        } else if (properties.disabledPictureMode == DisabledGrey) {
            params.opacity = int(std::nearbyint(properties.pictureOpacity * 0.75));
            params.grey = true;
        } else {
            params.opacity = 0;
        }
    }
    params.useMaskColor = properties.useMaskColor;
    params.transparentColour = properties.maskColor;
    return params;
}

void PictureComposer::compose(QImage &target, int left, int top, const ButtonPicture &picture,
                              const Params &params)
{
    if (picture.isNull() || params.opacity <= 0)
        return;
    const QImage &source = picture.pixels();
    const int x0 = std::max(0, -left);
    const int y0 = std::max(0, -top);
    const int x1 = std::min(source.width(), target.width() - left);
    const int y1 = std::min(source.height(), target.height() - top);
    if (x0 >= x1 || y0 >= y1)
        return;

    const bool icon = picture.kind() == ButtonPicture::Kind::Icon;
    const bool alphaPath = picture.usesAlpha();
    // A bitmap is keyed by the stored mask colour as it is: a system-colour
    // reference has its top bit set and so never equals a pixel.
    const Colour mask = icon ? kIconMask : params.transparentColour;
    const int k = std::min(params.opacity, 255);

    for (int y = y0; y < y1; ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        QRgb *dst = reinterpret_cast<QRgb *>(target.scanLine(top + y)) + left;
        for (int x = x0; x < x1; ++x) {
            const QRgb s = src[x];
            int r = qRed(s), g = qGreen(s), b = qBlue(s);
            int weight = k;
            if (alphaPath) {
                weight = qAlpha(s) * k / 255;
            } else {
                if (icon) {
                    // The icon is drawn over the mask grey first, as onto a
                    // background brush, so its transparent parts become grey.
                    const int a = qAlpha(s);
                    r = (r * a + kIconMask.red() * (255 - a) + 127) / 255;
                    g = (g * a + kIconMask.green() * (255 - a) + 127) / 255;
                    b = (b * a + kIconMask.blue() * (255 - a) + 127) / 255;
                }
                if (params.useMaskColor && Colour::rgb(r, g, b) == mask)
                    continue;
            }
            dst[x] = composePixel(dst[x], r, g, b, weight, params);
        }
    }
}

} // namespace Lumisong
