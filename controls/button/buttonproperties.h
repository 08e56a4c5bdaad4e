#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

#include "controls/button/buttonpicture.h"
#include "controls/button/buttonpropertylist.h"
#include "platform/colour.h"
#include "platform/picture.h"

namespace Lumisong {

// The stored values of one skinned button, without the widget: what the
// painters read and what the property bag saves, one field per row of
// buttonpropertylist.h. Colours are raw 32-bit OLE colours (plain 0x00BBGGRR
// or a 0x800000nn system-colour reference); enumerations are plain ints so
// that out-of-range values survive. The window's pointer is its standard
// number (99 = the custom icon).
struct ButtonProperties
{
#define LUMISONG_FIELD(FieldType, ApiType, field, Name, ...) FieldType field{};
#define LUMISONG_PICTURE_FIELD(field, Name, ...) ButtonPicturePtr field;
#define LUMISONG_NO_FIELD(ApiType, accessors, Name, ...)
    LUMISONG_BUTTON_PROPERTIES(LUMISONG_FIELD, LUMISONG_PICTURE_FIELD, LUMISONG_NO_FIELD)
#undef LUMISONG_FIELD
#undef LUMISONG_PICTURE_FIELD
#undef LUMISONG_NO_FIELD

    // A drop-down symbol or separator narrows the caption area.
    bool hasDropDown() const { return dropDownSymbol != 0 || dropDownSeparator; }
    // The normal picture is the one the hot and down pictures fall back on;
    // without it the button has none.
    bool hasPicture() const { return bool(pictureNormal); }
};

// The colour scheme family a style starts with (silver for the glass and
// satin looks, blue for most others); none for styles 5, 11, 12, 13 and
// unknown values, which keep the scheme they have.
std::optional<int> DefaultSchemeForStyle(int style);

// Derives the background from style and scheme, resets the caption colour
// to the system button text, chooses the focus rectangle by style and turns
// the pushed picture on for the toolbar style. System colours are stored as
// their current RGB values, not as references. Sends no notifications.
void ApplyColorScheme(ButtonProperties &properties, int style, int scheme);

// Resets the foreground to the system's button foreground, or to white (the
// pale look's while pressed).
void ResetForeground(ButtonProperties &properties, bool white = false);

} // namespace Lumisong
