#include "controls/button/buttonmembers.h"

namespace Lumisong {

namespace {

using B = ButtonProperty;
using D = ButtonPropertySpec::Default;
using P = ButtonProperties;

const Colour Mask = Colour::rgb(224, 224, 224);

// In the order of the interface; the saved keys are written in saveOrder.
QList<ButtonPropertySpec> makeProperties()
{
    return {
        {.id = B::BackColor, .name = "BackColor", .type = "OLE_COLOR",
         .help = "Returns/sets the background color used for the button.", .field = &P::backColor,
         .from = D::ButtonFace, .loadOrder = 4, .saveOrder = 5},
        {.id = B::ButtonStyle, .name = "ButtonStyle", .type = "Long (0..13)",
         .help = "Returns/sets a value to determine the style used to draw the button.", .field = &P::buttonStyle,
         .saved = 1, .initial = 13, .placeOrder = 3, .loadOrder = 1, .saveOrder = 1},
        {.id = B::Caption, .name = "Caption", .type = "String", .initialNote = "the name the host proposes",
         .help = "Returns/sets the text displayed in the button.", .field = &P::caption,
         .saved = QStringLiteral("zephbutton1"), .placeOrder = 4, .loadOrder = 6, .saveOrder = 6},
        {.id = B::CaptionAlign, .name = "CaptionAlign", .type = "Long (0..2)",
         .help = "Returns/Sets the position of the Caption.", .field = &P::captionAlign, .saved = 1, .initial = 1,
         .placeOrder = 9, .loadOrder = 26, .saveOrder = 28},
        {.id = B::DropDownSymbol, .name = "DropDownSymbol", .type = "Long",
         .help = "Returns/Sets the Symbol to be used for displaying PopupMenu.", .field = &P::dropDownSymbol,
         .saved = 0, .loadOrder = 36, .saveOrder = 35},
        {.id = B::DropDownSeparator, .name = "DropDownSeparator", .type = "Boolean",
         .help = "Returns/Sets the value whether to display DropDown Separator.", .field = &P::dropDownSeparator,
         .saved = false, .loadOrder = 29, .saveOrder = 36},
        {.id = B::DisabledPictureMode, .name = "DisabledPictureMode", .type = "Long (0..1)",
         .help = "Returns/Sets the effect to be used for picture when button is disabled.",
         .field = &P::disabledPictureMode, .saved = 0, .loadOrder = 17, .saveOrder = 24},
        {.id = B::Enabled, .name = "Enabled", .type = "Boolean",
         .help = "Returns/sets a value to determine whether the button can respond to events.", .field = &P::enabled,
         .saved = true, .initial = true, .placeOrder = 2, .loadOrder = 5, .saveOrder = 3},
        {.id = B::Font, .name = "Font", .type = "Font", .initialNote = "the host font with face Tahoma",
         .help = "Returns/sets the Font used to display text on the button.", .from = D::HostFont, .placeOrder = 5,
         .loadOrder = 3, .saveOrder = 4},
        {.id = B::ForeColor, .name = "ForeColor", .type = "OLE_COLOR", .initialNote = "system button text as RGB",
         .help = "Returns/sets the text color of the button caption.", .field = &P::foreColor, .from = D::ButtonText,
         .loadOrder = 27, .saveOrder = 7},
        {.id = B::ForeColorHover, .name = "ForeColorHover", .type = "OLE_COLOR",
         .help = "Returns/sets the text color of the button caption when Mouse is over the control.",
         .field = &P::foreColorHover, .from = D::ButtonText, .loadOrder = 28, .saveOrder = 8},
        {.id = B::HandPointer, .name = "HandPointer", .type = "Boolean",
         .help = "Returns/sets a value to determine whether the control uses the system's hand "
                 "pointer as its cursor.",
         .field = &P::handPointer, .saved = false, .loadOrder = 9, .saveOrder = 12},
        {.id = B::hWnd, .name = "hWnd", .type = "OLE_HANDLE (read-only)",
         .help = "Returns a handle that uniquely identifies the control."},
        {.id = B::MaskColor, .name = "MaskColor", .type = "OLE_COLOR",
         .help = "Returns/sets a color in a button's picture to be transparent.", .field = &P::maskColor, .saved = Mask,
         .initial = Mask, .placeOrder = 11, .loadOrder = 21, .saveOrder = 27},
        {.id = B::Mode, .name = "Mode", .type = "Long (0..2)",
         .help = "Returns/sets the type of control the button will observe.", .field = &P::mode, .saved = 0,
         .loadOrder = 24, .saveOrder = 9},
        {.id = B::MouseIcon, .name = "MouseIcon", .type = "Picture", .help = "Sets a custom mouse icon for the button.",
         .field = &P::mouseIcon, .saved = Picture(), .loadOrder = 10, .saveOrder = 13},
        {.id = B::MousePointer, .name = "MousePointer", .type = "Long",
         .help = "Returns/sets the type of mouse pointer displayed when cursor over the button.",
         .field = &P::mousePointer, .saved = 0, .loadOrder = 8, .saveOrder = 11},
        {.id = B::PictureNormal, .name = "PictureNormal", .type = "Picture",
         .help = "Returns/sets the picture displayed on a normal state button.", .field = &P::pictureNormal,
         .saved = Picture(), .loadOrder = 11, .saveOrder = 14},
        {.id = B::PictureHot, .name = "PictureHot", .type = "Picture",
         .help = "Returns/sets the picture displayed when the cursor is over the control.", .field = &P::pictureHot,
         .saved = Picture(), .loadOrder = 12, .saveOrder = 15},
        {.id = B::PictureDown, .name = "PictureDown", .type = "Picture",
         .help = "Returns/sets the picture displayed when the control is pressed down or in " "checked state.",
         .field = &P::pictureDown, .saved = Picture(), .loadOrder = 13, .saveOrder = 16},
        {.id = B::PictureAlign, .name = "PictureAlign", .type = "Long (0..8)",
         .help = "Returns/sets a value to determine where to draw the picture in the button.",
         .field = &P::pictureAlign, .saved = 1, .initial = 1, .placeOrder = 8, .loadOrder = 25, .saveOrder = 17},
        {.id = B::PictureShadow, .name = "PictureShadow", .type = "Boolean",
         .help = "Returns/Sets a value to determine whether to display Picture Shadow", .field = &P::pictureShadow,
         .saved = false, .loadOrder = 14, .saveOrder = 21},
        {.id = B::PictureEffectOnOver, .name = "PictureEffectOnOver", .type = "Long (0..2)",
         .help = "Returns/Sets the Picture Effects to be applied when the mouseis over the control.",
         .field = &P::pictureEffectOnOver, .saved = 1, .loadOrder = 19, .saveOrder = 18},
        {.id = B::PictureEffectOnDown, .name = "PictureEffectOnDown", .type = "Long (0..2)",
         .help = "Returns/Sets the Picture Effects to be applied when the Button is pressed down.",
         .field = &P::pictureEffectOnDown, .saved = 2, .loadOrder = 20, .saveOrder = 19},
        {.id = B::PicturePushOnHover, .name = "PicturePushOnHover", .type = "Boolean",
         .help = "Returns/Sets a value to determine whether to Push picture when Mouse is over the " "control.",
         .field = &P::picturePushOnHover, .saved = false, .loadOrder = 18, .saveOrder = 20},
        {.id = B::PictureOpacity, .name = "PictureOpacity", .type = "Byte",
         .help = "Returns/Sets a byte value to control the Opacity of the Picture.", .field = &P::pictureOpacity,
         .saved = 255, .initial = 255, .placeOrder = 6, .loadOrder = 15, .saveOrder = 22},
        {.id = B::PictureOpacityOnOver, .name = "PictureOpacityOnOver", .type = "Byte",
         .help = "Returns/Sets a byte value to control the Opacity of the Picture when Mouse is " "over the button.",
         .field = &P::pictureOpacityOnOver, .saved = 255, .initial = 255, .placeOrder = 7, .loadOrder = 16,
         .saveOrder = 23},
        {.id = B::RightToLeft, .name = "RightToLeft", .type = "Boolean",
         .help = "Returns/Sets a value to determine whether to display text in RTL mode.", .field = &P::rightToLeft,
         .saved = false, .loadOrder = 35, .saveOrder = 34},
        {.id = B::CaptionEffects, .name = "CaptionEffects", .type = "Long (0..5)",
         .help = "Returns/Sets the Special Effects apply to the caption.", .field = &P::captionEffects, .saved = 0,
         .alwaysSaved = true, .loadOrder = 23, .saveOrder = 25},
        {.id = B::ShowFocusRect, .name = "ShowFocusRect", .type = "Boolean",
         .help = "Returns/Sets a value to show Focusrect when the button has focus", .field = &P::showFocusRect,
         .saved = false, .initial = false, .placeOrder = 1, .loadOrder = 2, .saveOrder = 2},
        {.id = B::UseMaskColor, .name = "UseMaskColor", .type = "Boolean",
         .help = "Returns/sets a value to determine whether to use MaskColor to create transparent "
                 "areas of the picture.",
         .field = &P::useMaskColor, .saved = true, .initial = true, .placeOrder = 10, .loadOrder = 22, .saveOrder = 26},
        {.id = B::Value, .name = "Value", .type = "Boolean", .help = "Returns/sets the value or state of the button.",
         .field = &P::value, .saved = false, .loadOrder = 7, .saveOrder = 10},
        {.id = B::TooltipTitle, .name = "TooltipTitle", .type = "String",
         .help = "Returns/Sets the text displayed in the title of the tooltip.", .field = &P::tooltipTitle,
         .saved = QString(), .loadOrder = 30, .saveOrder = 32},
        {.id = B::ToolTip, .name = "ToolTip", .type = "String",
         .help = "Returns/Sets the text displayed when mouse is paused over the control.", .field = &P::toolTip,
         .saved = QString(), .loadOrder = 31, .saveOrder = 29},
        {.id = B::TooltipBackColor, .name = "TooltipBackColor", .type = "OLE_COLOR",
         .help = "Returns/Sets color to be displayed in the tooltip.", .field = &P::tooltipBackColor,
         .from = D::InfoBackground, .loadOrder = 34, .saveOrder = 33},
        {.id = B::ToolTipIcon, .name = "ToolTipIcon", .key = "TooltipIcon", .type = "Long (0..3)",
         .help = "Returns/Sets an icon value to be displayed in the tooltip.", .field = &P::toolTipIcon, .saved = 0,
         .loadOrder = 32, .saveOrder = 31},
        {.id = B::ToolTipType, .name = "ToolTipType", .key = "TooltipType", .type = "Long (0..1)",
         .help = "Returns/Sets the Style of the tooltip.", .field = &P::toolTipType, .saved = 0, .loadOrder = 33,
         .saveOrder = 30},
        {.id = B::ColorScheme, .name = "ColorScheme", .type = "Long (0..3)",
         .help = "Returns/Sets the ColorScheme to be used for the Background color.", .field = &P::colorScheme,
         .saved = 0, .loadOrder = 37, .saveOrder = 37},
    };
}

// How --describe writes a value.
struct ValueText
{
    QString operator()(std::monostate) const { return {}; }
    QString operator()(const PropertyBag::Unreadable &) const { return {}; }
    QString operator()(int value) const { return QString::number(value); }
    QString operator()(bool value) const
    {
        return value ? QStringLiteral("True") : QStringLiteral("False");
    }
    QString operator()(const QString &value) const { return value; }
    QString operator()(Colour c) const
    {
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }
    QString operator()(const FontDescription &) const { return {}; }
    QString operator()(const Picture &) const { return QStringLiteral("none"); }
    QString operator()(const ButtonPicturePtr &) const { return QStringLiteral("none"); }
    template <typename M> QString operator()(M P::*field) const
    {
        static const P fresh;
        return operator()(fresh.*field);
    }
};

// A newly placed button's value: the one placed, else the field's own.
QString initialText(const ButtonPropertySpec &p)
{
    if (p.initialNote)
        return QString::fromUtf8(p.initialNote);
    return p.initial ? std::visit(ValueText{}, *p.initial) : std::visit(ValueText{}, p.field);
}

QString savedText(const ButtonPropertySpec &p)
{
    switch (p.from) {
    case D::ButtonFace:
        return QStringLiteral("system button face as RGB");
    case D::ButtonText:
        return QStringLiteral("system button text as RGB");
    case D::InfoBackground:
        return QStringLiteral("system tooltip background as RGB");
    case D::HostFont:
        return QStringLiteral("the host font");
    case D::Given:
        break;
    }
    const QString text = std::visit(ValueText{}, p.saved);
    return p.alwaysSaved ? text + QStringLiteral(" (always saved)") : text;
}

MemberDescription member(MemberDescription::Kind kind, const char *name, const char *signature,
                         const char *help)
{
    return {kind, QString::fromUtf8(name), QString::fromUtf8(signature), {}, {}, QString::fromUtf8(help)};
}

QList<MemberDescription> makeMembers()
{
    using K = MemberDescription;
    QList<MemberDescription> members{
        member(K::Method, "SetPopupMenu", "(Menu, Align, [Flags], [DefaultMenu])", "Sets a dropdown menu to the button."),
        member(K::Method, "UnsetPopupMenu", "()", "Unsets a popupmenu that was previously set for that button."),
        member(K::Method, "OpenWebsite", "(sAddress)", "Opens a website specified by URL"),
        member(K::Method, "About", "()", "Displays information about the control and its author."),
        member(K::Method, "Subclass_WndProc", "(bBefore, bHandled, lReturn, lHwnd, uMsg, wParam, lParam)", ""),
    };
    for (const ButtonPropertySpec &p : ButtonMembers::properties())
        members.append({K::Property, QString::fromUtf8(p.name), QString::fromUtf8(p.type), initialText(p),
                        savedText(p), QString::fromUtf8(p.help)});
    members << member(K::Event, "Click", "()", "Occurs when the user presses and then releases a mouse button over the button.")
            << member(K::Event, "DblClick", "()", "Occurs when the user clicks over the button twice.")
            << member(K::Event, "MouseEnter", "()", "Occrus when the cursor moves around the button for the first time.")
            << member(K::Event, "MouseLeave", "()", "Occurs when the cursor leaves/moves outside the button.")
            << member(K::Event, "MouseMove", "(Button, Shift, X, Y)", "Occurs when the cursor moves over the button.")
            << member(K::Event, "MouseUp", "(Button, Shift, X, Y)", "Occurs when the user releases the mouse button while the button has the focus.")
            << member(K::Event, "MouseDown", "(Button, Shift, X, Y)", "Occurs when the user presses the mouse button while the button has the focus.")
            << member(K::Event, "KeyDown", "(KeyCode, Shift)", "Occurs when the user presses a key while the button has the focus.")
            << member(K::Event, "KeyUp", "(KeyCode, Shift)", "Occurs when the user releases a key while the button has the focus.")
            << member(K::Event, "KeyPress", "(KeyAcsii)", "Occurs when the user presses and releases an ANSI key.");
    return members;
}

} // namespace

const QList<ButtonPropertySpec> &ButtonMembers::properties()
{
    static const QList<ButtonPropertySpec> table = makeProperties();
    return table;
}

const ButtonPropertySpec &ButtonMembers::property(ButtonProperty id)
{
    // The table is in the enumeration's order.
    return properties().at(int(id));
}

QList<const ButtonPropertySpec *> ButtonMembers::inOrder(int ButtonPropertySpec::*step)
{
    return inStepOrder(properties(), step);
}

const QList<MemberDescription> &ButtonMembers::all()
{
    static const QList<MemberDescription> members = makeMembers();
    return members;
}

} // namespace Lumisong
