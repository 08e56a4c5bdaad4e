#pragma once

#include "controls/button/buttonmembers.h"
#include "controls/button/buttonproperties.h"
#include "platform/fontdescription.h"
#include "platform/propertybag.h"

namespace Lumisong {

struct ButtonRuntime;

// The skinned button's stored values and their rules, apart from the widget:
// placing, loading and saving by the property table (ButtonMembers), and what
// an assignment does to the other values. The widget redraws and announces;
// painting only reads.
class ButtonModel
{
public:
    ButtonProperties &values() { return m_p; }
    const ButtonProperties &values() const { return m_p; }

    // A newly placed button's value of a property with one.
    void place(const ButtonPropertySpec &spec);
    // One saved entry straight into its field. False when the stored value
    // has the wrong type or range; the field then keeps its value.
    bool load(const ButtonPropertySpec &spec, const PropertyBag &bag, const FontDescription &hostFont);
    void save(const ButtonPropertySpec &spec, PropertyBag &bag, const FontDescription &font,
              const FontDescription &hostFont) const;
    // The default a property is saved against (and read with).
    static PropertyBag::Value savedDefault(const ButtonPropertySpec &spec, const FontDescription &hostFont);

    // BackColor makes the scheme custom, except on the toolbar style.
    void setBackColor(Colour colour);
    // A style starts with its default scheme, then the colour-scheme step.
    void setButtonStyle(int style);
    void setColorScheme(int scheme);
    // Mode 0 (push) draws the button normal; Value itself is kept.
    void setMode(int mode, ButtonRuntime &runtime);
    // A push button does not store Value and is drawn normal; a toggle stores
    // it and is drawn normal when cleared. False when not stored.
    bool setValue(bool value, ButtonRuntime &runtime);
    // A hot or down picture given while there is no normal picture becomes the
    // normal picture; an empty normal picture empties the other two as well
    // (emptyPictures). Returns the slot that was filled.
    ButtonProperty setPicture(ButtonProperty slot, const ButtonPicturePtr &picture);
    void emptyPictures();
    // Opacities are bytes; assignments are limited to 0..255.
    static quint8 opacity(int value);

    // A checked toggle (not of styles 0 and 6) is drawn pressed.
    bool checked() const;
    void settleCheckedLook(ButtonRuntime &runtime) const;
    // The rules that follow from other values, applied whenever a property or
    // the run-time look changes (drawing only reads them): style 13 without
    // themes turns into style 2 with the blue scheme for good, and the pale
    // look (6) owns its caption colour, white while pressed.
    void applyRules(const ButtonRuntime &runtime);

private:
    ButtonProperties m_p;
};

} // namespace Lumisong
