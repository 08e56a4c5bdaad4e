#pragma once

// Enumerations of the skinned button. Properties hold plain ints: a value
// outside an enumeration is stored unchanged and simply matches no case where
// it is used, so these names are for reading the code, not for validation.

namespace Lumisong {

enum ButtonState : int { StateNormal = 0, StateHot = 1, StateDown = 2 };

enum ButtonStyles : int {
    StyleClassic = 0,
    StyleFlat = 1,
    StyleSoftGradient = 2,
    StyleGlass = 3,
    StyleToolbar = 4,
    StyleSunrise = 5,
    StylePale = 6,
    StyleSky = 7,
    StyleAmber = 8,
    StyleSatin = 9,
    StyleBevel = 10,
    StyleHotRaised = 11,
    StyleHotFlat = 12,
    StyleThemed = 13,
};

enum ColourSchemes : int { SchemeBlue = 0, SchemeOlive = 1, SchemeSilver = 2, SchemeCustom = 3 };

enum ButtonMode : int { ModePush = 0, ModeCheck = 1, ModeOption = 2 };

enum PicturePlaces : int {
    PictureLeftEdge = 0,
    PictureLeftOfCaption = 1,
    PictureRightEdge = 2,
    PictureRightOfCaption = 3,
    PictureBehindCaption = 4,
    PictureTopEdge = 5,
    PictureAboveCaption = 6,
    PictureBottomEdge = 7,
    PictureBelowCaption = 8,
};

enum CaptionPlaces : int { CaptionLeft = 0, CaptionCenter = 1, CaptionRight = 2 };

enum CaptionEffect : int {
    CaptionPlain = 0,
    CaptionRaised = 1,
    CaptionSunken = 2,
    CaptionShadow = 3,
    CaptionGlow = 4,
    CaptionOutline = 5,
};

enum PictureEffect : int { EffectNone = 0, EffectLighter = 1, EffectDarker = 2 };

enum DisabledPictureLooks : int { DisabledFaded = 0, DisabledGrey = 1 };

enum ToolTipShapes : int { TooltipStandard = 0, TooltipBalloon = 1 };

} // namespace Lumisong
