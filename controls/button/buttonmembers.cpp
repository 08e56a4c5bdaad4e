#include "controls/button/buttonmembers.h"

namespace Lumisong {

namespace {

MemberDescription property(const char *name, const char *type, const char *newValue, const char *saved,
                           const char *help)
{
    return {MemberDescription::Property, QString::fromUtf8(name), QString::fromUtf8(type),
            QString::fromUtf8(newValue), QString::fromUtf8(saved), QString::fromUtf8(help)};
}

MemberDescription member(MemberDescription::Kind kind, const char *name, const char *signature,
                         const char *help)
{
    return {kind, QString::fromUtf8(name), QString::fromUtf8(signature), {}, {}, QString::fromUtf8(help)};
}

QList<MemberDescription> makeMembers()
{
    using K = MemberDescription;
    return {
        member(K::Method, "SetPopupMenu", "(Menu, Align, [Flags], [DefaultMenu])", "Sets a dropdown menu to the button."),
        member(K::Method, "UnsetPopupMenu", "()", "Unsets a popupmenu that was previously set for that button."),
        member(K::Method, "OpenWebsite", "(sAddress)", "Opens a website specified by URL"),
        member(K::Method, "About", "()", "Displays information about the control and its author."),
        member(K::Method, "Subclass_WndProc", "(bBefore, bHandled, lReturn, lHwnd, uMsg, wParam, lParam)", ""),
        property("BackColor", "OLE_COLOR", "rgb(0, 0, 0)", "system button face as RGB",
                 "Returns/sets the background color used for the button."),
        property("ButtonStyle", "Long (0..13)", "13", "1",
                 "Returns/sets a value to determine the style used to draw the button."),
        property("Caption", "String", "the name the host proposes", "zephbutton1",
                 "Returns/sets the text displayed in the button."),
        property("CaptionAlign", "Long (0..2)", "1", "1", "Returns/Sets the position of the Caption."),
        property("DropDownSymbol", "Long", "0", "0",
                 "Returns/Sets the Symbol to be used for displaying PopupMenu."),
        property("DropDownSeparator", "Boolean", "False", "False",
                 "Returns/Sets the value whether to display DropDown Separator."),
        property("DisabledPictureMode", "Long (0..1)", "0", "0",
                 "Returns/Sets the effect to be used for picture when button is disabled."),
        property("Enabled", "Boolean", "True", "True",
                 "Returns/sets a value to determine whether the button can respond to events."),
        property("Font", "Font", "the host font with face Tahoma", "the host font",
                 "Returns/sets the Font used to display text on the button."),
        property("ForeColor", "OLE_COLOR", "system button text as RGB", "system button text as RGB",
                 "Returns/sets the text color of the button caption."),
        property("ForeColorHover", "OLE_COLOR", "rgb(0, 0, 0)", "system button text as RGB",
                 "Returns/sets the text color of the button caption when Mouse is over the control."),
        property("HandPointer", "Boolean", "False", "False",
                 "Returns/sets a value to determine whether the control uses the system's hand pointer as its cursor."),
        property("hWnd", "OLE_HANDLE (read-only)", "", "",
                 "Returns a handle that uniquely identifies the control."),
        property("MaskColor", "OLE_COLOR", "rgb(224, 224, 224)", "rgb(224, 224, 224)",
                 "Returns/sets a color in a button's picture to be transparent."),
        property("Mode", "Long (0..2)", "0", "0", "Returns/sets the type of control the button will observe."),
        property("MouseIcon", "Picture", "none", "none", "Sets a custom mouse icon for the button."),
        property("MousePointer", "Long", "0", "0",
                 "Returns/sets the type of mouse pointer displayed when cursor over the button."),
        property("PictureNormal", "Picture", "none", "none",
                 "Returns/sets the picture displayed on a normal state button."),
        property("PictureHot", "Picture", "none", "none",
                 "Returns/sets the picture displayed when the cursor is over the control."),
        property("PictureDown", "Picture", "none", "none",
                 "Returns/sets the picture displayed when the control is pressed down or in checked state."),
        property("PictureAlign", "Long (0..8)", "1", "1",
                 "Returns/sets a value to determine where to draw the picture in the button."),
        property("PictureShadow", "Boolean", "False", "False",
                 "Returns/Sets a value to determine whether to display Picture Shadow"),
        property("PictureEffectOnOver", "Long (0..2)", "0", "1",
                 "Returns/Sets the Picture Effects to be applied when the mouseis over the control."),
        property("PictureEffectOnDown", "Long (0..2)", "0", "2",
                 "Returns/Sets the Picture Effects to be applied when the Button is pressed down."),
        property("PicturePushOnHover", "Boolean", "False", "False",
                 "Returns/Sets a value to determine whether to Push picture when Mouse is over the control."),
        property("PictureOpacity", "Byte", "255", "255",
                 "Returns/Sets a byte value to control the Opacity of the Picture."),
        property("PictureOpacityOnOver", "Byte", "255", "255",
                 "Returns/Sets a byte value to control the Opacity of the Picture when Mouse is over the button."),
        property("RightToLeft", "Boolean", "False", "False",
                 "Returns/Sets a value to determine whether to display text in RTL mode."),
        property("CaptionEffects", "Long (0..5)", "0", "0 (always saved)",
                 "Returns/Sets the Special Effects apply to the caption."),
        property("ShowFocusRect", "Boolean", "False", "False",
                 "Returns/Sets a value to show Focusrect when the button has focus"),
        property("UseMaskColor", "Boolean", "True", "True",
                 "Returns/sets a value to determine whether to use MaskColor to create transparent areas of the picture."),
        property("Value", "Boolean", "False", "False", "Returns/sets the value or state of the button."),
        property("TooltipTitle", "String", "", "", "Returns/Sets the text displayed in the title of the tooltip."),
        property("ToolTip", "String", "", "", "Returns/Sets the text displayed when mouse is paused over the control."),
        property("TooltipBackColor", "OLE_COLOR", "rgb(0, 0, 0)", "system tooltip background as RGB",
                 "Returns/Sets color to be displayed in the tooltip."),
        property("ToolTipIcon", "Long (0..3)", "0", "0",
                 "Returns/Sets an icon value to be displayed in the tooltip."),
        property("ToolTipType", "Long (0..1)", "0", "0", "Returns/Sets the Style of the tooltip."),
        property("ColorScheme", "Long (0..3)", "0", "0",
                 "Returns/Sets the ColorScheme to be used for the Background color."),
        member(K::Event, "Click", "()", "Occurs when the user presses and then releases a mouse button over the button."),
        member(K::Event, "DblClick", "()", "Occurs when the user clicks over the button twice."),
        member(K::Event, "MouseEnter", "()", "Occrus when the cursor moves around the button for the first time."),
        member(K::Event, "MouseLeave", "()", "Occurs when the cursor leaves/moves outside the button."),
        member(K::Event, "MouseMove", "(Button, Shift, X, Y)", "Occurs when the cursor moves over the button."),
        member(K::Event, "MouseUp", "(Button, Shift, X, Y)", "Occurs when the user releases the mouse button while the button has the focus."),
        member(K::Event, "MouseDown", "(Button, Shift, X, Y)", "Occurs when the user presses the mouse button while the button has the focus."),
        member(K::Event, "KeyDown", "(KeyCode, Shift)", "Occurs when the user presses a key while the button has the focus."),
        member(K::Event, "KeyUp", "(KeyCode, Shift)", "Occurs when the user releases a key while the button has the focus."),
        member(K::Event, "KeyPress", "(KeyAcsii)", "Occurs when the user presses and releases an ANSI key."),
    };
}

} // namespace

const QList<MemberDescription> &ButtonMembers::all()
{
    static const QList<MemberDescription> members = makeMembers();
    return members;
}

} // namespace Lumisong
