#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <type_traits>

#include "controls/button/buttonfont.h"
#include "controls/button/buttoninput.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonmembers.h"
#include "controls/button/buttonmodel.h"
#include "controls/button/buttonpicture.h"
#include "controls/button/buttonproperties.h"
#include "controls/button/tooltipcontent.h"
#include "platform/colour.h"
#include "platform/fontdescription.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QAction>
#include <QMenu>

namespace Lumisong {

class ButtonToolTip;
class PopupPresenter;
class PropertyBag;
class ShellOpener;
class ToolTipWindow;

// The skinned push button. Properties keep their capitalised names as Qt
// properties (setter setXxx); every assignment that changes the look redraws
// and announces the property by name through propertyChanged, so that the
// host form knows to save it. The host drives the lifecycle: InitProperties
// for a newly placed button, or ReadProperties from its saved bag, and
// WriteProperties when saving. Drawing goes to a Surface that paintEvent
// shows; the window shape follows the surface's region.
//
// Input: Qt's mouse, key, focus and shortcut events on the button are the
// control window's notifications and go to its ButtonInput; in run mode
// (after loading on a running form, or setUpRunMode) an event filter on the
// button's window and the button's own leave, palette and style events reach
// Subclass_WndProc as the window messages they stand for. A host handler run
// from inside an event may change or destroy the button; nothing of it is
// touched afterwards.
class zephbutton final : public QWidget, private ButtonInput::Host
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(zephbutton)

    // How a setter takes a value of type T: small plain values by value,
    // others by reference.
    template <typename T>
    using ArgOf = std::conditional_t<std::is_trivially_copyable_v<T> && sizeof(T) <= 16, T, const T &>;

    // Each row of the property list: Q_PROPERTY(type Name READ field WRITE setName),
    // the getter field() and the setter setName(value); a picture's property
    // goes through fieldValue()/setNameValue(Picture).
#define LUMISONG_ACCESSORS(FieldType, ApiType, field, Name, ...) \
    Q_PROPERTY(ApiType Name READ field WRITE set##Name) \
public: \
    ApiType field() const { return m_p.field; } \
    void set##Name(ArgOf<ApiType> given);
#define LUMISONG_PICTURE_ACCESSORS(field, Name, ...) \
    Q_PROPERTY(Lumisong::Picture Name READ field##Value WRITE set##Name##Value) \
public: \
    ButtonPicturePtr field() const { return m_p.field; } \
    void set##Name(const ButtonPicturePtr &picture); \
    Picture field##Value() const; \
    void set##Name##Value(const Picture &picture);
#define LUMISONG_OTHER_ACCESSORS(ApiType, accessors, Name, ...) Q_PROPERTY(ApiType Name READ accessors)
    LUMISONG_BUTTON_PROPERTIES(LUMISONG_ACCESSORS, LUMISONG_PICTURE_ACCESSORS, LUMISONG_OTHER_ACCESSORS)
#undef LUMISONG_ACCESSORS
#undef LUMISONG_PICTURE_ACCESSORS
#undef LUMISONG_OTHER_ACCESSORS

public:
    // What the host form tells its controls (its ambient properties).
    struct Ambient
    {
        QString displayName = QStringLiteral("zephbutton1");
        FontDescription font = FontDescription::ambient();
        bool userMode = true;
        bool displayAsDefault = false;
    };

    // The window messages the message sink knows.
    enum WindowMessage : quint32 {
        MessageActivate = 0x0006,
        MessageSysColourChange = 0x0015,
        MessageNcActivate = 0x0086,
        MessageMouseLeave = 0x02A3,
        MessageThemeChanged = 0x031A,
    };

    explicit zephbutton(QWidget *parent = nullptr);
    ~zephbutton() override;

    void setAmbient(const Ambient &ambient);
    const Ambient &ambient() const { return m_ambient; }

    // A newly placed button.
    void InitProperties();
    // Loads saved properties with no setter side effects. Entries whose stored
    // value has the wrong type are skipped (the property keeps its value) and
    // their names returned, so that the host can report them.
    QStringList ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;
    // The run-mode setup of a running form: leave tracking, and the form's
    // activation reaching the button. ReadProperties runs it when the ambient
    // UserMode is true; a host that makes buttons in code may call it.
    void setUpRunMode();
    bool isRunMode() const { return m_runMode; }
    // The resize step a running form applies after loading: a button smaller
    // than 220 twips either way grows to it; the shape is rebuilt and redrawn.
    void resizeStep();

    // Methods.
    // Attaches a drop-down menu; anything that is not a menu is ignored.
    void SetPopupMenu(QObject *menu, int align, int flags = 0, QAction *defaultMenu = nullptr);
    void UnsetPopupMenu();
    // Opens the address in the browser through the shell opener (only web
    // addresses are handed on); false when refused or not opened.
    bool OpenWebsite(const QString &address);
    void About();
    void Redraw();
    // The message sink: the window messages of the button's and its form's
    // windows (WindowMessage); wParam of the activation messages is non-zero
    // when the form became active. Never sets bHandled or lReturn.
    void Subclass_WndProc(bool bBefore, bool &bHandled, qintptr &lReturn, qulonglong lHwnd, quint32 uMsg,
                          quintptr wParam, qintptr lParam);

    // Replaceable boundaries: the browser and the drop-down menu.
    void setShellOpener(ShellOpener *opener);
    // The drop-down menu's showing; null goes back to the real QMenu.
    void setPopupPresenter(PopupPresenter *presenter);

    // Property accessors beyond the list's: Enabled also as QWidget spells it,
    // and the font, which lives in a shared object.
    bool isEnabled() const { return m_p.enabled; }
    // The shared font object; changing its attributes redraws the button.
    ButtonFont *buttonFont() const { return m_font.get(); }
    std::shared_ptr<ButtonFont> buttonFontRef() const { return m_font; }
    void setButtonFont(std::shared_ptr<ButtonFont> font);
    FontDescription fontDescription() const;
    void setFontDescription(const FontDescription &description);
    qulonglong hWnd() const;

    // Run-time state (input handling sets it; tests and the preview tool may
    // too). setRuntime applies the rules that follow from it (see
    // ButtonModel::applyRules); the caller redraws.
    void setRuntime(const ButtonRuntime &runtime);
    ButtonRuntime &runtime() { return m_runtime; }
    const ButtonRuntime &runtime() const { return m_runtime; }
    // The input notifications, for hosts that deliver them themselves.
    ButtonInput &input() { return m_input; }
    const DropDownState &dropDown() const { return m_input.dropDown(); }
    const Surface &surface() const { return m_surface; }
    // The tooltip's right-to-left flag, a copy of the right-to-left property.
    bool tooltipRightToLeft() const { return m_tooltipRightToLeft; }
    // The lower-case access key taken from the caption, or a null QChar.
    QChar accessKey() const { return m_accessKey; }
    static QChar accessKeyFor(const QString &caption);

signals:
    void propertyChanged(const QString &name);

    void Click();
    void DblClick();
    void MouseEnter();
    void MouseLeave();
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    void KeyUp(qint16 &KeyCode, qint16 &Shift);
    void KeyPress(qint16 &KeyAcsii);

    // Beyond the control's own events, for watching it from outside: a tooltip was
    // built, as the user will see it; an arrow key moves the focus on (the move
    // itself follows once the key has been handled).
    void toolTipBuilt(const Lumisong::ToolTipContent &content);
    void focusMoveRequested(bool forward);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // ButtonInput::Host
    void raiseEvent(const ButtonEvent &event) override;
    void redraw() override;
    void writeValue(bool value) override;
    void clearOptionGroup() override;
    QSize clientSize() const override;
    bool showDropDownMenu(QPoint anchor, int flags) override;
    void buildToolTip() override;
    void moveFocus(bool forward) override;
    void paintNow() override;
    void requestLeave() override {}
    bool takesFocusOnPress() const override;

    // The setters' one path: the model's assignment, then the window's part
    // (applyToWindow), the redraw the row asks for and the notifications.
    template <typename Field, typename Arg>
    void assign(ButtonProperty property, Field ButtonProperties::*field, const Arg &given);
    void applyToWindow(ButtonProperty property);
    void announce(ButtonProperty property);
    void notify(ButtonProperty property);
    void store(ButtonProperty property, bool redraw = true);
    bool readFont(const PropertyBag &bag, const ButtonPropertySpec &spec);
    void loaded(ButtonProperty property);
    // The window takes the outline of the style at the surface's size.
    void applyStyleShape();
    void setPicture(ButtonProperty slot, const ButtonPicturePtr &picture);
    void bindFont(std::shared_ptr<ButtonFont> font);
    void fontChanged();
    void applyWindowFont();
    void applyCursor();
    void SetAccessKeys();
    void showSurface();
    void watchWindow();
    void sendMessage(quint32 message, quintptr wParam = 0);
    bool pointerOver(QPointF position) const;
    bool isSecondPress(const QMouseEvent &event);
    bool toolTipMayShow() const;

    ButtonModel m_model;
    ButtonProperties &m_p = m_model.values();
    ButtonRuntime m_runtime;
    Surface m_surface;
    // What paintEvent shows when the screen has more than one device pixel
    // per pixel: the surface at the screen's resolution (null at ratio 1).
    QImage m_deviceImage;
    CaptionLayout::Result m_layout; // of the latest redraw, for the next
    Ambient m_ambient;
    std::shared_ptr<ButtonFont> m_font;
    QMetaObject::Connection m_fontConnection;
    bool m_tooltipRightToLeft = false;
    QChar m_accessKey;

    ButtonInput m_input;
    // What the last full redraw painted; a redraw of the same look is skipped.
    quint64 m_lookGeneration = 0;
    quint64 m_paintedGeneration = ~quint64(0);
    ButtonRuntime m_paintedRuntime;
    int m_shortcutId = 0;

    bool m_runMode = false;
    bool m_routeSysColour = false;
    QPointer<QWidget> m_watchedWindow;

    // The last press, to tell the second press of a double click.
    quint64 m_pressTime = 0;
    QPointF m_pressPosition;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_pressWasSecond = false;
    bool m_dropDoubleClick = false; // Qt's double-click event after a second press

    QPointer<QMenu> m_menu;
    QPointer<QAction> m_menuDefault;
    QMetaObject::Connection m_menuGone;
    PopupPresenter *m_popupPresenter = nullptr;
    ButtonToolTip *m_toolTip = nullptr;

    ShellOpener *m_opener = nullptr;
    std::unique_ptr<ShellOpener> m_ownOpener;
};

} // namespace Lumisong
