#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

#include "controls/button/buttonfont.h"
#include "controls/button/buttonpainter.h"
#include "controls/button/buttonpicture.h"
#include "controls/button/buttonproperties.h"
#include "platform/colour.h"
#include "platform/fontdescription.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QAction>
#include <QMenu>

namespace Lumisong {

class PropertyBag;
class ShellOpener;

// The skinned push button. Properties keep their capitalised names as Qt
// properties (setter setXxx); every assignment that changes the look redraws
// and announces the property by name through propertyChanged, so that the
// host form knows to save it. The host drives the lifecycle: InitProperties
// for a newly placed button, or ReadProperties from its saved bag, and
// WriteProperties when saving. Drawing goes to a Surface that paintEvent
// shows; the window shape follows the surface's region.
class zephbutton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(zephbutton)

    Q_PROPERTY(Lumisong::Colour BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int ButtonStyle READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(int CaptionAlign READ captionAlign WRITE setCaptionAlign)
    Q_PROPERTY(int DropDownSymbol READ dropDownSymbol WRITE setDropDownSymbol)
    Q_PROPERTY(bool DropDownSeparator READ dropDownSeparator WRITE setDropDownSeparator)
    Q_PROPERTY(int DisabledPictureMode READ disabledPictureMode WRITE setDisabledPictureMode)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(Lumisong::FontDescription Font READ fontDescription WRITE setFontDescription)
    Q_PROPERTY(Lumisong::Colour ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(Lumisong::Colour ForeColorHover READ foreColorHover WRITE setForeColorHover)
    Q_PROPERTY(bool HandPointer READ handPointer WRITE setHandPointer)
    Q_PROPERTY(qulonglong hWnd READ hWnd)
    Q_PROPERTY(Lumisong::Colour MaskColor READ maskColor WRITE setMaskColor)
    Q_PROPERTY(int Mode READ mode WRITE setMode)
    Q_PROPERTY(Lumisong::Picture MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(int MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(Lumisong::Picture PictureNormal READ pictureNormalValue WRITE setPictureNormalValue)
    Q_PROPERTY(Lumisong::Picture PictureHot READ pictureHotValue WRITE setPictureHotValue)
    Q_PROPERTY(Lumisong::Picture PictureDown READ pictureDownValue WRITE setPictureDownValue)
    Q_PROPERTY(int PictureAlign READ pictureAlign WRITE setPictureAlign)
    Q_PROPERTY(bool PictureShadow READ pictureShadow WRITE setPictureShadow)
    Q_PROPERTY(int PictureEffectOnOver READ pictureEffectOnOver WRITE setPictureEffectOnOver)
    Q_PROPERTY(int PictureEffectOnDown READ pictureEffectOnDown WRITE setPictureEffectOnDown)
    Q_PROPERTY(bool PicturePushOnHover READ picturePushOnHover WRITE setPicturePushOnHover)
    Q_PROPERTY(int PictureOpacity READ pictureOpacity WRITE setPictureOpacity)
    Q_PROPERTY(int PictureOpacityOnOver READ pictureOpacityOnOver WRITE setPictureOpacityOnOver)
    Q_PROPERTY(bool RightToLeft READ rightToLeft WRITE setRightToLeft)
    Q_PROPERTY(int CaptionEffects READ captionEffects WRITE setCaptionEffects)
    Q_PROPERTY(bool ShowFocusRect READ showFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(bool UseMaskColor READ useMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool Value READ value WRITE setValue)
    Q_PROPERTY(QString TooltipTitle READ tooltipTitle WRITE setTooltipTitle)
    Q_PROPERTY(QString ToolTip READ toolTip WRITE setToolTip)
    Q_PROPERTY(Lumisong::Colour TooltipBackColor READ tooltipBackColor WRITE setTooltipBackColor)
    Q_PROPERTY(int ToolTipIcon READ toolTipIcon WRITE setToolTipIcon)
    Q_PROPERTY(int ToolTipType READ toolTipType WRITE setToolTipType)
    Q_PROPERTY(int ColorScheme READ colorScheme WRITE setColorScheme)

public:
    // What the host form tells its controls (its ambient properties).
    struct Ambient
    {
        QString displayName = QStringLiteral("zephbutton1");
        FontDescription font = FontDescription::ambient();
        bool userMode = true;
        bool displayAsDefault = false;
    };

    explicit zephbutton(QWidget *parent = nullptr);
    ~zephbutton() override;

    // Whether the application style may draw style 13 for buttons made from
    // now on; without it style 13 becomes style 2 at its first drawing.
    static void setVisualThemesAvailable(bool available);
    static bool visualThemesAvailable();

    void setAmbient(const Ambient &ambient);
    const Ambient &ambient() const { return m_ambient; }

    // A newly placed button.
    void InitProperties();
    // Loads saved properties with no setter side effects. Entries whose stored
    // value has the wrong type are skipped (the property keeps its value) and
    // their names returned, so that the host can report them.
    QStringList ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // Methods.
    // Attaches a drop-down menu; anything that is not a menu is ignored.
    void SetPopupMenu(QObject *menu, int align, int flags = 0, QAction *defaultMenu = nullptr);
    void UnsetPopupMenu();
    // Opens the address in the browser through the shell opener (only web
    // addresses are handed on); false when refused or not opened.
    bool OpenWebsite(const QString &address);
    void About();
    void Redraw();

    // Replaceable boundaries: the browser and the About box.
    void setShellOpener(ShellOpener *opener);
    using MessagePresenter = std::function<void(QWidget *parent, const QString &title, const QString &text)>;
    void setAboutPresenter(MessagePresenter presenter);

    // Property accessors.
    Colour backColor() const { return m_p.backColor; }
    void setBackColor(Colour colour);
    int buttonStyle() const { return m_p.buttonStyle; }
    void setButtonStyle(int style);
    QString caption() const { return m_p.caption; }
    void setCaption(const QString &caption);
    int captionAlign() const { return m_p.captionAlign; }
    void setCaptionAlign(int align);
    int dropDownSymbol() const { return m_p.dropDownSymbol; }
    void setDropDownSymbol(int symbol);
    bool dropDownSeparator() const { return m_p.dropDownSeparator; }
    void setDropDownSeparator(bool separator);
    int disabledPictureMode() const { return m_p.disabledPictureMode; }
    void setDisabledPictureMode(int mode);
    bool isEnabled() const { return m_p.enabled; }
    void setEnabled(bool enabled);
    // The shared font object; changing its attributes redraws the button.
    ButtonFont *buttonFont() const { return m_font.get(); }
    std::shared_ptr<ButtonFont> buttonFontRef() const { return m_font; }
    void setButtonFont(std::shared_ptr<ButtonFont> font);
    FontDescription fontDescription() const;
    void setFontDescription(const FontDescription &description);
    Colour foreColor() const { return m_p.foreColor; }
    void setForeColor(Colour colour);
    Colour foreColorHover() const { return m_p.foreColorHover; }
    void setForeColorHover(Colour colour);
    bool handPointer() const { return m_p.handPointer; }
    void setHandPointer(bool hand);
    qulonglong hWnd() const;
    Colour maskColor() const { return m_p.maskColor; }
    void setMaskColor(Colour colour);
    int mode() const { return m_p.mode; }
    void setMode(int mode);
    Picture mouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const Picture &icon);
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    ButtonPicturePtr pictureNormal() const { return m_p.pictureNormal; }
    void setPictureNormal(const ButtonPicturePtr &picture);
    Picture pictureNormalValue() const;
    void setPictureNormalValue(const Picture &picture);
    ButtonPicturePtr pictureHot() const { return m_p.pictureHot; }
    void setPictureHot(const ButtonPicturePtr &picture);
    Picture pictureHotValue() const;
    void setPictureHotValue(const Picture &picture);
    ButtonPicturePtr pictureDown() const { return m_p.pictureDown; }
    void setPictureDown(const ButtonPicturePtr &picture);
    Picture pictureDownValue() const;
    void setPictureDownValue(const Picture &picture);
    int pictureAlign() const { return m_p.pictureAlign; }
    void setPictureAlign(int align);
    bool pictureShadow() const { return m_p.pictureShadow; }
    void setPictureShadow(bool shadow);
    int pictureEffectOnOver() const { return m_p.pictureEffectOnOver; }
    void setPictureEffectOnOver(int effect);
    int pictureEffectOnDown() const { return m_p.pictureEffectOnDown; }
    void setPictureEffectOnDown(int effect);
    bool picturePushOnHover() const { return m_p.picturePushOnHover; }
    void setPicturePushOnHover(bool push);
    // Opacities are bytes; assignments are limited to 0..255.
    int pictureOpacity() const { return m_p.pictureOpacity; }
    void setPictureOpacity(int opacity);
    int pictureOpacityOnOver() const { return m_p.pictureOpacityOnOver; }
    void setPictureOpacityOnOver(int opacity);
    bool rightToLeft() const { return m_p.rightToLeft; }
    void setRightToLeft(bool rightToLeft);
    int captionEffects() const { return m_p.captionEffects; }
    void setCaptionEffects(int effects);
    bool showFocusRect() const { return m_p.showFocusRect; }
    void setShowFocusRect(bool show);
    bool useMaskColor() const { return m_p.useMaskColor; }
    void setUseMaskColor(bool use);
    bool value() const { return m_p.value; }
    void setValue(bool value);
    QString tooltipTitle() const { return m_p.tooltipTitle; }
    void setTooltipTitle(const QString &title);
    QString toolTip() const { return m_p.toolTip; }
    void setToolTip(const QString &text);
    Colour tooltipBackColor() const { return m_p.tooltipBackColor; }
    void setTooltipBackColor(Colour colour);
    int toolTipIcon() const { return m_p.toolTipIcon; }
    void setToolTipIcon(int icon);
    int toolTipType() const { return m_p.toolTipType; }
    void setToolTipType(int type);
    int colorScheme() const { return m_p.colorScheme; }
    void setColorScheme(int scheme);

    // Run-time state (input handling sets it; tests and the preview tool may too).
    ButtonRuntime &runtime() { return m_runtime; }
    const ButtonProperties &properties() const { return m_p; }
    const Surface &surface() const { return m_surface; }
    const ButtonPainter &painter() const { return m_painter; }
    // The tooltip's right-to-left flag, a copy of RightToLeft.
    bool tooltipRightToLeft() const { return m_tooltipRightToLeft; }
    // The lower-case access key taken from the caption, or a null QChar.
    QChar accessKey() const { return m_accessKey; }
    static QChar accessKeyFor(const QString &caption);
    QMenu *popupMenu() const { return m_menu; }

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

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void notify(const char *name);
    void store(const char *name, bool redraw = true);
    void fontChanged();
    void applyWindowFont();
    void applyCursor();
    void SetAccessKeys();
    void resizeStep();
    void showSurface();

    ButtonProperties m_p;
    ButtonRuntime m_runtime;
    Surface m_surface;
    ButtonPainter m_painter;
    Ambient m_ambient;
    std::shared_ptr<ButtonFont> m_font;
    QMetaObject::Connection m_fontConnection;
    Picture m_mouseIcon;
    qint16 m_mousePointer = 0;
    bool m_tooltipRightToLeft = false;
    QChar m_accessKey;

    QPointer<QMenu> m_menu;
    QPointer<QAction> m_menuDefault;
    int m_menuAlign = 0;
    int m_menuFlags = 0;
    bool m_menuSet = false;
    bool m_menuLatch = false;

    ShellOpener *m_opener = nullptr;
    std::unique_ptr<ShellOpener> m_ownOpener;
    MessagePresenter m_aboutPresenter;
};

} // namespace Lumisong
