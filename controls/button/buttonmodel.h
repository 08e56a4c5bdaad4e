#pragma once

#include <algorithm>
#include <type_traits>

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
    // The style every look and rule goes by.
    int style() const { return m_p.buttonStyle; }

    // A newly placed button's value of a property with one.
    void place(const ButtonPropertySpec &spec);
    // One saved entry straight into its field. False when the stored value
    // has the wrong type or range; the field then keeps its value.
    bool load(const ButtonPropertySpec &spec, const PropertyBag &bag, const FontDescription &hostFont);
    void save(const ButtonPropertySpec &spec, PropertyBag &bag, const FontDescription &font,
              const FontDescription &hostFont) const;
    // The default a property is saved against (and read with).
    static PropertyBag::Value savedDefault(const ButtonPropertySpec &spec, const FontDescription &hostFont);

    // An assignment through a property's setter: stores `given` in `field`
    // (bytes limited to 0..255) and applies what it does to the other values
    // (assigned). False when not stored: a push button keeps no toggle value,
    // and is drawn normal instead.
    template <typename Field, typename Arg>
    bool assign(ButtonProperty property, Field ButtonProperties::*field, const Arg &given,
                ButtonRuntime &runtime)
    {
        if (!stores(property, runtime))
            return false;
        if constexpr (std::is_same_v<Field, quint8>)
            m_p.*field = quint8(std::clamp(int(given), 0, 255));
        else
            m_p.*field = Field(given);
        assigned(property, runtime);
        return true;
    }
    // A hot or down picture given while there is no normal picture becomes the
    // normal picture; an empty normal picture empties the other two as well
    // (emptyPictures).
    struct PictureStored
    {
        ButtonProperty filled; // the slot that took the picture
        bool normalGiven;      // the picture was given for the normal slot
    };
    PictureStored setPicture(ButtonProperty slot, const ButtonPicturePtr &picture);
    void emptyPictures();

    // The scheme a new style starts with, and the colours of style and scheme.
    void applyStyleLook();

    // A checked toggle (not of styles 0 and 6) is drawn pressed.
    bool checked() const;
    void settleCheckedLook(ButtonRuntime &runtime) const;
    // The rules that follow from other values, applied whenever a property or
    // the run-time look changes (drawing only reads them): style 13 without
    // themes turns into style 2 with the blue scheme for good, and the pale
    // look (6) owns its caption colour, white while pressed.
    void applyRules(const ButtonRuntime &runtime);

private:
    bool stores(ButtonProperty property, ButtonRuntime &runtime) const;
    // What a stored assignment does to the other values: its row's Effect.
    void assigned(ButtonProperty property, ButtonRuntime &runtime);
    // The colour scheme, which the rules set and the colours follow.
    int &scheme() { return m_p.colorScheme; }

    ButtonProperties m_p;
};

} // namespace Lumisong
