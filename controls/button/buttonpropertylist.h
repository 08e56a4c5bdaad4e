#pragma once

// The skinned button's properties, one row each, in the order of its
// interface. A row is VALUE(field type, interface type, field, Name, details...),
// PICTURE(field, Name, details...) or OTHER(interface type, accessors, Name,
// details...) for values without a plain field; the details are the
// rest of the property's ButtonPropertySpec as designated initialisers (D =
// its Default, R = its Repaint, E = its Effect). Each user passes macros that turn a row into
// what it needs:
//   buttonmembers.h      the enumerator ButtonProperty::Name
//   buttonproperties.h   the field, zero until the button is placed or loaded
//   buttonmembers.cpp    the table row, with &ButtonProperties::field
//   zephbutton.h         Q_PROPERTY(type Name READ field WRITE setName), the
//                        getter field() and the setter setName
//   zephbuttonsetters.cpp the setter's body: zephbutton::assign by the row
// A VALUE's setter stores through the generic path; a PICTURE row also has
// fieldValue()/setNameValue() taking the picture itself; OTHER rows name their
// hand-written accessors.
#define LUMISONG_BUTTON_PROPERTIES(VALUE, PICTURE, OTHER) \
    VALUE(Lumisong::Colour, Lumisong::Colour, backColor, BackColor, .type = "OLE_COLOR", \
          .help = "Returns/sets the background color used for the button.", \
          .from = D::ButtonFace, .loadOrder = 4, .saveOrder = 5, .effect = E::CustomScheme) \
    VALUE(int, int, buttonStyle, ButtonStyle, .type = "Long (0..13)", \
          .help = "Returns/sets a value to determine the style used to draw the button.", \
          .saved = 1, .initial = 13, .placeOrder = 3, .loadOrder = 1, .saveOrder = 1, .effect = E::StyleLook) \
    VALUE(QString, QString, caption, Caption, .type = "String", \
          .initialNote = "the name the host proposes", .help = "Returns/sets the text displayed in the button.", \
          .saved = QStringLiteral("zephbutton1"), .placeOrder = 4, .loadOrder = 6, .saveOrder = 6, .effect = E::AccessKeys) \
    VALUE(int, int, captionAlign, CaptionAlign, .type = "Long (0..2)", \
          .help = "Returns/Sets the position of the Caption.", \
          .saved = 1, .initial = 1, .placeOrder = 9, .loadOrder = 26, .saveOrder = 28) \
    VALUE(int, int, dropDownSymbol, DropDownSymbol, .type = "Long", \
          .help = "Returns/Sets the Symbol to be used for displaying PopupMenu.", \
          .saved = 0, .loadOrder = 36, .saveOrder = 35) \
    VALUE(bool, bool, dropDownSeparator, DropDownSeparator, .type = "Boolean", \
          .help = "Returns/Sets the value whether to display DropDown Separator.", \
          .saved = false, .loadOrder = 29, .saveOrder = 36) \
    VALUE(int, int, disabledPictureMode, DisabledPictureMode, .type = "Long (0..1)", \
          .help = "Returns/Sets the effect to be used for picture when button is disabled.", \
          .saved = 0, .loadOrder = 17, .saveOrder = 24) \
    VALUE(bool, bool, enabled, Enabled, .type = "Boolean", \
          .help = "Returns/sets a value to determine whether the button can respond to events.", \
          .saved = true, .initial = true, .placeOrder = 2, .loadOrder = 5, .saveOrder = 3, .effect = E::WindowEnabled) \
    OTHER(Lumisong::FontDescription, fontDescription WRITE setFontDescription, Font, \
          .type = "Font", .initialNote = "the host font with face Tahoma", .help = "Returns/sets the Font used to display text on the button.", \
          .from = D::HostFont, .placeOrder = 5, .loadOrder = 3, .saveOrder = 4) \
    VALUE(Lumisong::Colour, Lumisong::Colour, foreColor, ForeColor, .type = "OLE_COLOR", \
          .initialNote = "system button text as RGB", .help = "Returns/sets the text color of the button caption.", \
          .from = D::ButtonText, .loadOrder = 27, .saveOrder = 7) \
    VALUE(Lumisong::Colour, Lumisong::Colour, foreColorHover, ForeColorHover, .type = "OLE_COLOR", \
          .help = "Returns/sets the text color of the button caption when Mouse is over the control.", \
          .from = D::ButtonText, .loadOrder = 28, .saveOrder = 8) \
    VALUE(bool, bool, handPointer, HandPointer, .type = "Boolean", \
          .help = "Returns/sets a value to determine whether the control uses the system's hand pointer as its cursor.", \
          .saved = false, .loadOrder = 9, .saveOrder = 12, .effect = E::HandCursor) \
    OTHER(qulonglong, hWnd, hWnd, .type = "OLE_HANDLE (read-only)", \
          .help = "Returns a handle that uniquely identifies the control.") \
    VALUE(Lumisong::Colour, Lumisong::Colour, maskColor, MaskColor, .type = "OLE_COLOR", \
          .help = "Returns/sets a color in a button's picture to be transparent.", \
          .saved = Mask, .initial = Mask, .placeOrder = 11, .loadOrder = 21, .saveOrder = 27) \
    VALUE(int, int, mode, Mode, .type = "Long (0..2)", \
          .help = "Returns/sets the type of control the button will observe.", \
          .saved = 0, .loadOrder = 24, .saveOrder = 9, .effect = E::PushDrawnNormal) \
    VALUE(Lumisong::Picture, Lumisong::Picture, mouseIcon, MouseIcon, .type = "Picture", \
          .help = "Sets a custom mouse icon for the button.", \
          .saved = Picture(), .loadOrder = 10, .saveOrder = 13, .repaint = R::Never, .effect = E::IconCursor) \
    VALUE(qint16, int, mousePointer, MousePointer, .type = "Long", \
          .help = "Returns/sets the type of mouse pointer displayed when cursor over the button.", \
          .saved = 0, .loadOrder = 8, .saveOrder = 11, .repaint = R::Never, .effect = E::Cursor) \
    PICTURE(pictureNormal, PictureNormal, .type = "Picture", \
          .help = "Returns/sets the picture displayed on a normal state button.", \
          .saved = Picture(), .loadOrder = 11, .saveOrder = 14) \
    PICTURE(pictureHot, PictureHot, .type = "Picture", \
          .help = "Returns/sets the picture displayed when the cursor is over the control.", \
          .saved = Picture(), .loadOrder = 12, .saveOrder = 15) \
    PICTURE(pictureDown, PictureDown, .type = "Picture", \
          .help = "Returns/sets the picture displayed when the control is pressed down or in checked state.", \
          .saved = Picture(), .loadOrder = 13, .saveOrder = 16) \
    VALUE(int, int, pictureAlign, PictureAlign, .type = "Long (0..8)", \
          .help = "Returns/sets a value to determine where to draw the picture in the button.", \
          .saved = 1, .initial = 1, .placeOrder = 8, .loadOrder = 25, .saveOrder = 17, .repaint = R::WithPicture) \
    VALUE(bool, bool, pictureShadow, PictureShadow, .type = "Boolean", \
          .help = "Returns/Sets a value to determine whether to display Picture Shadow", \
          .saved = false, .loadOrder = 14, .saveOrder = 21) \
    VALUE(int, int, pictureEffectOnOver, PictureEffectOnOver, .type = "Long (0..2)", \
          .help = "Returns/Sets the Picture Effects to be applied when the mouseis over the control.", \
          .saved = 1, .loadOrder = 19, .saveOrder = 18) \
    VALUE(int, int, pictureEffectOnDown, PictureEffectOnDown, .type = "Long (0..2)", \
          .help = "Returns/Sets the Picture Effects to be applied when the Button is pressed down.", \
          .saved = 2, .loadOrder = 20, .saveOrder = 19) \
    VALUE(bool, bool, picturePushOnHover, PicturePushOnHover, .type = "Boolean", \
          .help = "Returns/Sets a value to determine whether to Push picture when Mouse is over the control.", \
          .saved = false, .loadOrder = 18, .saveOrder = 20) \
    VALUE(quint8, int, pictureOpacity, PictureOpacity, .type = "Byte", \
          .help = "Returns/Sets a byte value to control the Opacity of the Picture.", \
          .saved = 255, .initial = 255, .placeOrder = 6, .loadOrder = 15, .saveOrder = 22) \
    VALUE(quint8, int, pictureOpacityOnOver, PictureOpacityOnOver, .type = "Byte", \
          .help = "Returns/Sets a byte value to control the Opacity of the Picture when Mouse is over the button.", \
          .saved = 255, .initial = 255, .placeOrder = 7, .loadOrder = 16, .saveOrder = 23) \
    VALUE(bool, bool, rightToLeft, RightToLeft, .type = "Boolean", \
          .help = "Returns/Sets a value to determine whether to display text in RTL mode.", \
          .saved = false, .loadOrder = 35, .saveOrder = 34, .effect = E::ToolTipDirection) \
    VALUE(int, int, captionEffects, CaptionEffects, .type = "Long (0..5)", \
          .help = "Returns/Sets the Special Effects apply to the caption.", \
          .saved = 0, .alwaysSaved = true, .loadOrder = 23, .saveOrder = 25) \
    VALUE(bool, bool, showFocusRect, ShowFocusRect, .type = "Boolean", \
          .help = "Returns/Sets a value to show Focusrect when the button has focus", \
          .saved = false, .initial = false, .placeOrder = 1, .loadOrder = 2, .saveOrder = 2, .repaint = R::Never) \
    VALUE(bool, bool, useMaskColor, UseMaskColor, .type = "Boolean", \
          .help = "Returns/sets a value to determine whether to use MaskColor to create transparent areas of the picture.", \
          .saved = true, .initial = true, .placeOrder = 10, .loadOrder = 22, .saveOrder = 26, .repaint = R::WithPicture) \
    VALUE(bool, bool, value, Value, .type = "Boolean", \
          .help = "Returns/sets the value or state of the button.", \
          .saved = false, .loadOrder = 7, .saveOrder = 10, .effect = E::ToggleValue) \
    VALUE(QString, QString, tooltipTitle, TooltipTitle, .type = "String", \
          .help = "Returns/Sets the text displayed in the title of the tooltip.", \
          .saved = QString(), .loadOrder = 30, .saveOrder = 32) \
    VALUE(QString, QString, toolTip, ToolTip, .type = "String", \
          .help = "Returns/Sets the text displayed when mouse is paused over the control.", \
          .saved = QString(), .loadOrder = 31, .saveOrder = 29) \
    VALUE(Lumisong::Colour, Lumisong::Colour, tooltipBackColor, TooltipBackColor, .type = "OLE_COLOR", \
          .help = "Returns/Sets color to be displayed in the tooltip.", \
          .from = D::InfoBackground, .loadOrder = 34, .saveOrder = 33) \
    VALUE(int, int, toolTipIcon, ToolTipIcon, .key = "TooltipIcon", .type = "Long (0..3)", \
          .help = "Returns/Sets an icon value to be displayed in the tooltip.", \
          .saved = 0, .loadOrder = 32, .saveOrder = 31) \
    VALUE(int, int, toolTipType, ToolTipType, .key = "TooltipType", .type = "Long (0..1)", \
          .help = "Returns/Sets the Style of the tooltip.", \
          .saved = 0, .loadOrder = 33, .saveOrder = 30) \
    VALUE(int, int, colorScheme, ColorScheme, .type = "Long (0..3)", .help = "Returns/Sets the ColorScheme to be used for the Background color.", \
          .saved = 0, .loadOrder = 37, .saveOrder = 37, .effect = E::SchemeColours)
