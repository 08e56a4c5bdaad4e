#pragma once

#include <QList>

#include <optional>
#include <variant>

#include "controls/button/buttonproperties.h"
#include "platform/memberdescription.h"
#include "platform/propertybag.h"

namespace Lumisong {

// The skinned button's properties, in the order of its interface.
#define LUMISONG_ENUMERATOR(FieldType, ApiType, field, Name, ...) Name,
#define LUMISONG_PICTURE_ENUMERATOR(field, Name, ...) Name,
#define LUMISONG_OTHER_ENUMERATOR(ApiType, accessors, Name, ...) Name,
enum class ButtonProperty : int {
    LUMISONG_BUTTON_PROPERTIES(LUMISONG_ENUMERATOR, LUMISONG_PICTURE_ENUMERATOR, LUMISONG_OTHER_ENUMERATOR)
};
#undef LUMISONG_ENUMERATOR
#undef LUMISONG_PICTURE_ENUMERATOR
#undef LUMISONG_OTHER_ENUMERATOR

// One property of the skinned button, declared once: its name and saved key,
// the field that holds it, how --describe shows it, its saving default, its
// value on a newly placed button, where it stands in the placing, loading
// and saving steps (1-based; 0 = not part of that step), and what an
// assignment repaints. Loading and placing write the fields straight,
// without the accessors' rules.
struct ButtonPropertySpec
{
    using P = ButtonProperties;
    // The font lives in a shared object of the widget, and hWnd is no stored
    // value: both have no field here.
    using Field = std::variant<std::monostate, int P::*, bool P::*, QString P::*, Colour P::*, quint8 P::*,
                               qint16 P::*, Picture P::*, ButtonPicturePtr P::*>;
    // Where a saving default comes from: the value given, the system colour
    // of the moment as RGB, or the host form's font.
    enum class Default { Given, ButtonFace, ButtonText, InfoBackground, HostFont };
    // What an assignment redraws: the button, the button only when it has a
    // normal picture (values that only the picture uses), or nothing (values
    // that show at the next redraw, or not on the surface at all).
    enum class Repaint { Always, WithPicture, Never };
    // What else an assignment does, beyond storing the value.
    enum class Effect {
        None,
        CustomScheme,       // the scheme becomes custom (not on the toolbar style)
        StyleLook,          // the style's default scheme and colours, and its window shape
        SchemeColours,      // the colour-scheme step
        PushDrawnNormal,    // a push button is drawn normal; the toggle value is announced too
        ToggleValue,        // stored by toggles only; cleared, drawn normal
        AccessKeys,         // the access key follows the text
        WindowEnabled,      // the window takes input or not
        HandCursor,         // the hand replaces the standard pointer
        IconCursor,         // a custom icon replaces the hand and the standard pointer
        Cursor,             // the window's pointer follows
        ToolTipDirection,   // the tooltip's reading order follows
    };

    ButtonProperty id{};
    const char *name = nullptr;
    Field field{};
    const char *key = nullptr; // the saved key where it is spelt otherwise than the name
    const char *type = nullptr;
    // How --describe shows a newly placed value that no single value states.
    const char *initialNote = nullptr;
    const char *help = nullptr;
    Default from = Default::Given;
    PropertyBag::Value saved{};
    // Written against the empty text, which no number equals: always stored
    // (and read against `saved`).
    bool alwaysSaved = false;
    std::optional<PropertyBag::Value> initial{};
    int placeOrder = 0;
    int loadOrder = 0;
    int saveOrder = 0;
    Repaint repaint = Repaint::Always;
    Effect effect = Effect::None;

    QString savedKey() const { return QString::fromLatin1(key ? key : name); }
};

// The skinned button's members as a developer placing it sees them: for each
// property its type, the value of a newly placed button, the default its
// saved properties are written against, and its help string; then the
// methods and events with theirs. In the order of the control's interface.
class ButtonMembers
{
public:
    static const QList<ButtonPropertySpec> &properties();
    static const ButtonPropertySpec &property(ButtonProperty id);
    // The properties that take part in a step, in that step's order.
    static QList<const ButtonPropertySpec *> inOrder(int ButtonPropertySpec::*step);
    static const QList<MemberDescription> &all();
};

} // namespace Lumisong
