#include "controls/button/buttonmembers.h"

namespace Lumisong {

namespace {

ButtonMember property(const char *name, const char *type, const char *newValue, const char *saved,
                      const char *help)
{
    return {ButtonMember::Kind::Property, QString::fromUtf8(name), QString::fromUtf8(type),
            QString::fromUtf8(newValue), QString::fromUtf8(saved), QString::fromUtf8(help)};
}

ButtonMember member(ButtonMember::Kind kind, const char *name, const char *help)
{
    return {kind, QString::fromUtf8(name), {}, {}, {}, QString::fromUtf8(help)};
}

QList<ButtonMember> makeMembers()
{
    using K = ButtonMember::Kind;
    return {
        member(K::Method, "SetPopupMenu", "Sets a dropdown menu to the button."),
        member(K::Method, "UnsetPopupMenu", "Unsets a popupmenu that was previously set for that button."),
        member(K::Method, "OpenWebsite", "Opens a website specified by URL"),
        member(K::Method, "About", "Displays information about the control and its author."),
        property("BackColor", "colour", "0", "system button face as RGB",
                 "Returns/sets the background color used for the button."),
        property("ButtonStyle", "enumeration 0..13", "13", "1",
                 "Returns/sets a value to determine the style used to draw the button."),
        property("Caption", "text", "the name the host proposes", "zephbutton1",
                 "Returns/sets the text displayed in the button."),
        property("CaptionAlign", "enumeration 0..2", "1", "1", "Returns/Sets the position of the Caption."),
        property("DropDownSymbol", "enumeration", "0", "0",
                 "Returns/Sets the Symbol to be used for displaying PopupMenu."),
        property("DropDownSeparator", "boolean", "false", "false",
                 "Returns/Sets the value whether to display DropDown Separator."),
        property("DisabledPictureMode", "enumeration 0..1", "0", "0",
                 "Returns/Sets the effect to be used for picture when button is disabled."),
        property("Enabled", "boolean", "true", "true",
                 "Returns/sets a value to determine whether the button can respond to events."),
        property("Font", "font", "the host font with face Tahoma", "the host font",
                 "Returns/sets the Font used to display text on the button."),
        property("ForeColor", "colour", "system button text as RGB", "system button text as RGB",
                 "Returns/sets the text color of the button caption."),
        property("ForeColorHover", "colour", "0", "system button text as RGB",
                 "Returns/sets the text color of the button caption when Mouse is over the control."),
        property("HandPointer", "boolean", "false", "false",
                 "Returns/sets a value to determine whether the control uses the system's hand pointer as its cursor."),
        property("hWnd", "window handle, read-only", "", "",
                 "Returns a handle that uniquely identifies the control."),
        property("MaskColor", "colour", "rgb(224, 224, 224)", "rgb(224, 224, 224)",
                 "Returns/sets a color in a button's picture to be transparent."),
        property("Mode", "enumeration 0..2", "0", "0", "Returns/sets the type of control the button will observe."),
        property("MouseIcon", "picture", "none", "none", "Sets a custom mouse icon for the button."),
        property("MousePointer", "pointer number", "0", "0",
                 "Returns/sets the type of mouse pointer displayed when cursor over the button."),
        property("PictureNormal", "picture", "none", "none",
                 "Returns/sets the picture displayed on a normal state button."),
        property("PictureHot", "picture", "none", "none",
                 "Returns/sets the picture displayed when the cursor is over the control."),
        property("PictureDown", "picture", "none", "none",
                 "Returns/sets the picture displayed when the control is pressed down or in checked state."),
        property("PictureAlign", "enumeration 0..8", "1", "1",
                 "Returns/sets a value to determine where to draw the picture in the button."),
        property("PictureShadow", "boolean", "false", "false",
                 "Returns/Sets a value to determine whether to display Picture Shadow"),
        property("PictureEffectOnOver", "enumeration 0..2", "0", "1",
                 "Returns/Sets the Picture Effects to be applied when the mouseis over the control."),
        property("PictureEffectOnDown", "enumeration 0..2", "0", "2",
                 "Returns/Sets the Picture Effects to be applied when the Button is pressed down."),
        property("PicturePushOnHover", "boolean", "false", "false",
                 "Returns/Sets a value to determine whether to Push picture when Mouse is over the control."),
        property("PictureOpacity", "byte", "255", "255",
                 "Returns/Sets a byte value to control the Opacity of the Picture."),
        property("PictureOpacityOnOver", "byte", "255", "255",
                 "Returns/Sets a byte value to control the Opacity of the Picture when Mouse is over the button."),
        property("RightToLeft", "boolean", "false", "false",
                 "Returns/Sets a value to determine whether to display text in RTL mode."),
        property("CaptionEffects", "enumeration 0..5", "0", "0 (always saved)",
                 "Returns/Sets the Special Effects apply to the caption."),
        property("ShowFocusRect", "boolean", "false", "false",
                 "Returns/Sets a value to show Focusrect when the button has focus"),
        property("UseMaskColor", "boolean", "true", "true",
                 "Returns/sets a value to determine whether to use MaskColor to create transparent areas of the picture."),
        property("Value", "boolean", "false", "false", "Returns/sets the value or state of the button."),
        property("TooltipTitle", "text", "", "", "Returns/Sets the text displayed in the title of the tooltip."),
        property("ToolTip", "text", "", "", "Returns/Sets the text displayed when mouse is paused over the control."),
        property("TooltipBackColor", "colour", "0", "system tooltip background as RGB",
                 "Returns/Sets color to be displayed in the tooltip."),
        property("ToolTipIcon", "enumeration 0..3", "0", "0",
                 "Returns/Sets an icon value to be displayed in the tooltip."),
        property("ToolTipType", "enumeration 0..1", "0", "0", "Returns/Sets the Style of the tooltip."),
        property("ColorScheme", "enumeration 0..3", "0", "0",
                 "Returns/Sets the ColorScheme to be used for the Background color."),
        member(K::Event, "Click", "Occurs when the user presses and then releases a mouse button over the button."),
        member(K::Event, "DblClick", "Occurs when the user clicks over the button twice."),
        member(K::Event, "MouseEnter", "Occrus when the cursor moves around the button for the first time."),
        member(K::Event, "MouseLeave", "Occurs when the cursor leaves/moves outside the button."),
        member(K::Event, "MouseMove", "Occurs when the cursor moves over the button."),
        member(K::Event, "MouseUp", "Occurs when the user releases the mouse button while the button has the focus."),
        member(K::Event, "MouseDown", "Occurs when the user presses the mouse button while the button has the focus."),
        member(K::Event, "KeyDown", "Occurs when the user presses a key while the button has the focus."),
        member(K::Event, "KeyUp", "Occurs when the user releases a key while the button has the focus."),
        member(K::Event, "KeyPress", "Occurs when the user presses and releases an ANSI key."),
    };
}

} // namespace

const QList<ButtonMember> &buttonMembers()
{
    static const QList<ButtonMember> members = makeMembers();
    return members;
}

} // namespace Lumisong
