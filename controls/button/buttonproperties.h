#pragma once

#include <QString>
#include <QtGlobal>

#include "controls/button/buttonpicture.h"
#include "platform/colour.h"
#include "platform/picture.h"

namespace Lumisong {

// The stored values of one skinned button, without the widget: what the
// painters read and what the property bag saves. Colours are raw 32-bit OLE
// colours (plain 0x00BBGGRR or a 0x800000nn system-colour reference);
// enumerations are plain ints so that out-of-range values survive.
struct ButtonProperties
{
    int buttonStyle = 0;
    int colorScheme = 0;
    int mode = 0;
    bool value = false;

    QString caption;
    QString toolTip;
    QString tooltipTitle;

    Colour backColor;
    Colour foreColor;
    Colour foreColorHover;
    Colour maskColor;
    Colour tooltipBackColor;

    int captionAlign = 0;
    int captionEffects = 0;
    int pictureAlign = 0;
    int pictureEffectOnOver = 0;
    int pictureEffectOnDown = 0;
    int disabledPictureMode = 0;
    int dropDownSymbol = 0;
    int toolTipIcon = 0;
    int toolTipType = 0;

    bool dropDownSeparator = false;
    bool enabled = false;
    bool handPointer = false;
    bool pictureShadow = false;
    bool picturePushOnHover = false;
    bool rightToLeft = false;
    bool showFocusRect = false;
    bool useMaskColor = false;

    quint8 pictureOpacity = 0;
    quint8 pictureOpacityOnOver = 0;

    ButtonPicturePtr pictureNormal;
    ButtonPicturePtr pictureHot;
    ButtonPicturePtr pictureDown;

    // The control window's pointer: its standard number (99 = MouseIcon).
    Picture mouseIcon;
    qint16 mousePointer = 0;

    // A drop-down symbol or separator narrows the caption area.
    bool hasDropDown() const { return dropDownSymbol != 0 || dropDownSeparator; }
};

// Sets ColorScheme to the family a style starts with (silver for the glass
// and satin looks, blue for most others); styles 5, 11, 12, 13 and unknown
// values keep the scheme they have.
void DefaultSchemeForStyle(ButtonProperties &properties);

// Derives BackColor from style and scheme, resets ForeColor to the system
// button text, chooses ShowFocusRect by style and turns PicturePushOnHover on
// for the toolbar style. System colours are stored as their current RGB
// values, not as references. Sends no notifications.
void ApplyColorScheme(ButtonProperties &properties);

} // namespace Lumisong
