#include "controls/button/captionlayout.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/colourmath.h"

#include <algorithm>

namespace Lumisong {

namespace {

bool pictureBesideRight(int align)
{
    return align == PictureRightEdge || align == PictureRightOfCaption;
}

// Only spaces count as blank, as the caption trim does.
bool captionBlank(const QString &caption)
{
    return std::all_of(caption.cbegin(), caption.cend(), [](QChar c) { return c == u' '; });
}

} // namespace

bool CaptionLayout::pressShiftsContent(int style)
{
    switch (style) {
    case StyleClassic:
    case StyleFlat:
    case StyleSunrise:
    case StylePale:
    case StyleSky:
    case StyleBevel:
    case StyleHotRaised:
    case StyleHotFlat:
        return true;
    default:
        return false;
    }
}

int CaptionLayout::measureWidth(const ButtonProperties &properties, int width)
{
    int reserve = 8;
    if (properties.hasDropDown())
        reserve = pictureBesideRight(properties.pictureAlign) ? 24 : 16;
    return width - reserve;
}

namespace {

// The picture rectangle for a caption rectangle; previous when the button
// has no normal picture or the alignment is unknown.
PixelRect placePicture(const ButtonProperties &properties, const CaptionLayout::Input &input,
                       int place, const PixelRect &caption)
{
    PixelRect picture = input.previousPicture;
    if (!properties.hasPicture())
        return picture;

    const int w = input.pictureWidth;
    const int h = input.pictureHeight;
    const int W = input.width;
    const int H = input.height;
    const int dropShift = properties.hasDropDown() ? 8 : 0;
    int left = picture.left;
    int top = picture.top;

    if (captionBlank(properties.caption) || place == PictureBehindCaption) {
        left = (W - w) / 2 - dropShift;
        top = (H - h) / 2;
    } else {
        switch (place) {
        case PictureLeftEdge:
            left = 3;
            top = (H - h) / 2;
            break;
        case PictureLeftOfCaption:
            left = caption.left - w - 4;
            top = (H - h) / 2;
            break;
        case PictureRightEdge:
        case PictureRightOfCaption:
            left = place == PictureRightEdge ? W - w - 3 : caption.right + 4;
            top = (H - h) / 2;
            left -= 2 * dropShift;
            left = std::max(left, caption.right + 2);
            break;
        case PictureTopEdge:
            left = (W - w) / 2 - dropShift;
            top = 4;
            break;
        case PictureAboveCaption:
            left = (W - w) / 2 - dropShift;
            top = caption.top - h - 2;
            break;
        case PictureBottomEdge:
            left = (W - w) / 2 - dropShift;
            top = H - h - 4;
            break;
        case PictureBelowCaption:
            left = (W - w) / 2 - dropShift;
            top = caption.bottom + 2;
            break;
        default:
            break;
        }
    }
    return {left, top, left + w, top + h};
}

// The caption's box by its own alignment, before a picture makes room.
PixelRect alignedCaption(const ButtonProperties &properties, const CaptionLayout::Input &input,
                         int place, int textWidth, int textHeight)
{
    const int W = input.width;
    const int H = input.height;
    const int w = input.pictureWidth;
    const bool drop = properties.hasDropDown();

    PixelRect c{0, 0, textWidth, textHeight};
    switch (properties.captionAlign) {
    case CaptionLeft:
        c = movedBy(c, 2, (H - c.bottom) / 2);
        break;
    case CaptionCenter:
        c = movedBy(c, (W - c.right + w) / 2, (H - c.bottom) / 2);
        if (drop)
            c = movedBy(c, -8, 0);
        if (place >= PictureTopEdge && place <= PictureBelowCaption)
            c = movedBy(c, -(w / 2), 0);
        break;
    case CaptionRight:
        c = movedBy(c, W - c.right - 4, (H - c.bottom) / 2);
        break;
    default:
        break;
    }

    return c;
}

// The caption moved out of the picture's way, by where the picture goes.
PixelRect besidePicture(const ButtonProperties &properties, const CaptionLayout::Input &input,
                        int place, PixelRect c)
{
    const int W = input.width;
    const int w = input.pictureWidth;
    const int h = input.pictureHeight;
    const bool centred = properties.captionAlign == CaptionCenter;

    if (properties.hasPicture()) {
        switch (place) {
        case PictureLeftEdge:
        case PictureLeftOfCaption:
            if (!centred && c.left < w + 4) {
                c.left = w + 4;
                c.right += w + 4;
            }
            break;
        case PictureRightEdge:
        case PictureRightOfCaption:
            if (c.right > W - w - 4) {
                c.right = W - w - 4;
                c.left -= w + 4;
            }
            if (centred)
                c = movedBy(c, -12, 0);
            break;
        case PictureBehindCaption:
            if (centred)
                c = movedBy(c, -16, 0);
            break;
        case PictureTopEdge:
        case PictureAboveCaption:
            c = movedBy(c, 0, h / 2);
            break;
        case PictureBottomEdge:
        case PictureBelowCaption:
            c = movedBy(c, 0, -(h / 2));
            break;
        default:
            break;
        }
    }

    return c;
}

} // namespace

CaptionLayout::Result CaptionLayout::layout(const ButtonProperties &properties, const Input &input,
                                            int textWidth, int textHeight)
{
    const int W = input.width;
    const int H = input.height;
    const bool drop = properties.hasDropDown();
    const int place = properties.pictureAlign;
    PixelRect c = besidePicture(properties, input, place,
                                alignedCaption(properties, input, place, textWidth, textHeight));

    if (properties.captionAlign == CaptionRight && drop)
        c = movedBy(c, -16, 0);

    if (input.style == StyleThemed) {
        c.left = std::max(c.left, 4);
        c.top = std::max(c.top, 4);
        if (W - 4 < c.right)
            c.right = W - 4;
        if (H - 4 < c.bottom)
            c.bottom = H - 4;
    }

    Result result;
    result.caption = c;
    result.picture = placePicture(properties, input, place, c);
    result.hasSymbol = properties.dropDownSymbol != 0;
    if (result.hasSymbol)
        result.symbol = {W - 15, roundEven(H / 2.0 - 7), W, roundEven(H / 2.0 + 8)};

    result.separator = properties.dropDownSeparator && W - 8 > c.right;

    if (input.state == StateDown && pressShiftsContent(input.style)) {
        result.caption = movedBy(result.caption, 1, 1);
        result.picture = movedBy(result.picture, 1, 1);
        result.symbol = movedBy(result.symbol, 1, 1);
        // The symbol of the classic, pale and sky families travels twice as far.
        const int style = input.style;
        if (style != StyleSunrise && style != StyleBevel)
            result.symbol = movedBy(result.symbol, 1, 1);
    }
    return result;
}

} // namespace Lumisong
