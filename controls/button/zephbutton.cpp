#include "controls/button/zephbutton.h"

#include <QAction>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include "controls/button/buttonaccessible.h"
#include "controls/button/buttonenums.h"
#include "controls/button/buttontooltip.h"
#include "controls/button/colourmath.h"
#include "controls/button/menupopuppresenter.h"
#include "controls/button/tooltipwindow.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "platform/ui/desktopshellopener.h"

Q_LOGGING_CATEGORY(lcButton, "lumisong.button")

namespace Lumisong {

namespace {

bool g_themesAvailable = true;

// The smallest side of a button, in twips.
constexpr int MinimumTwips = 220;

} // namespace

zephbutton::zephbutton(QWidget *parent)
    : QWidget(parent)
    , m_painter(m_surface, m_p, m_runtime)
    , m_input(*this, m_p, m_runtime)
{
    ButtonAccessible::install();
    m_runtime.themed = g_themesAvailable;
    m_runtime.userMode = m_ambient.userMode;
    m_runtime.isDefault = m_ambient.displayAsDefault;
    // Moves arrive without a held mouse button too: they drive the hot look.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    bindFont(std::make_shared<ButtonFont>(m_ambient.font));
    applyWindowFont();
    m_aboutPresenter = [](QWidget *owner, const QString &title, const QString &text) {
        QMessageBox::information(owner, title, text);
    };
}

zephbutton::~zephbutton()
{
    // Release the font object (others may still hold it), the menu and the
    // watch on the form; the tooltip window ends with the button.
    disconnect(m_fontConnection);
    m_font.reset();
    UnsetPopupMenu();
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
}

void zephbutton::bindFont(std::shared_ptr<ButtonFont> font)
{
    disconnect(m_fontConnection);
    m_font = std::move(font);
    m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
}

void zephbutton::setVisualThemesAvailable(bool available)
{
    g_themesAvailable = available;
}

bool zephbutton::visualThemesAvailable()
{
    return g_themesAvailable;
}

void zephbutton::setAmbient(const Ambient &ambient)
{
    const bool defaultChanged = ambient.displayAsDefault != m_ambient.displayAsDefault;
    m_ambient = ambient;
    m_runtime.userMode = ambient.userMode;
    m_runtime.isDefault = ambient.displayAsDefault;
    ++m_lookGeneration;
    if (defaultChanged)
        Redraw();
}

// --- lifecycle ---------------------------------------------------------------

void zephbutton::InitProperties()
{
    m_p.showFocusRect = true;
    m_p.enabled = true;
    QWidget::setEnabled(true);
    m_p.buttonStyle = StyleThemed;
    m_p.caption = m_ambient.displayName;
    SetAccessKeys();

    FontDescription font = m_ambient.font;
    font.face = QStringLiteral("Tahoma");
    bindFont(std::make_shared<ButtonFont>(font));
    fontChanged();

    m_p.pictureOpacity = 255;
    m_p.pictureOpacityOnOver = 255;
    m_p.pictureAlign = PictureLeftOfCaption;
    m_p.captionAlign = CaptionCenter;
    m_p.useMaskColor = true;
    m_p.maskColor = Colour::rgb(224, 224, 224);

    DefaultSchemeForStyle(m_p);
    ApplyColorScheme(m_p);
    Redraw();
}

QStringList zephbutton::ReadProperties(const PropertyBag &bag)
{
    QStringList failed;
    // Each entry goes straight into its field; a value of the wrong type
    // leaves the field as it is.
    auto take = [&](const char *key, auto &field, const auto &defaultValue) {
        using T = std::decay_t<decltype(defaultValue)>;
        const QString name = QString::fromLatin1(key);
        if (const std::optional<T> value = bag.read<T>(name, defaultValue))
            field = *value;
        else
            failed << name;
    };
    auto takeInt = [&](const char *key, int &field, qint32 defaultValue) {
        qint32 value = field;
        take(key, value, defaultValue);
        field = value;
    };
    auto takeByte = [&](const char *key, quint8 &field, qint32 defaultValue) {
        qint32 value = field;
        take(key, value, defaultValue);
        if (value < 0 || value > 255) {
            failed << QString::fromLatin1(key);
            return;
        }
        field = quint8(value);
    };
    auto takePicture = [&](const char *key, ButtonPicturePtr &field) {
        Picture picture = field ? field->picture() : Picture();
        take(key, picture, Picture());
        if (!field || !(field->picture() == picture))
            field = ButtonPicture::from(picture);
    };

    const Colour buttonText = SystemRgb(SystemColours::ButtonText);

    takeInt("ButtonStyle", m_p.buttonStyle, 1);
    take("ShowFocusRect", m_p.showFocusRect, false);
    {
        FontDescription font = fontDescription();
        take("Font", font, m_ambient.font);
        if (!(font == fontDescription()))
            bindFont(std::make_shared<ButtonFont>(font));
        applyWindowFont();
    }
    take("BackColor", m_p.backColor, SystemRgb(SystemColours::ButtonFace));
    take("Enabled", m_p.enabled, true);
    take("Caption", m_p.caption, QStringLiteral("zephbutton1"));
    take("Value", m_p.value, false);
    {
        int pointer = m_mousePointer;
        takeInt("MousePointer", pointer, 0);
        m_mousePointer = qint16(pointer);
    }
    take("HandPointer", m_p.handPointer, false);
    take("MouseIcon", m_mouseIcon, Picture());
    takePicture("PictureNormal", m_p.pictureNormal);
    takePicture("PictureHot", m_p.pictureHot);
    takePicture("PictureDown", m_p.pictureDown);
    take("PictureShadow", m_p.pictureShadow, false);
    takeByte("PictureOpacity", m_p.pictureOpacity, 255);
    takeByte("PictureOpacityOnOver", m_p.pictureOpacityOnOver, 255);
    takeInt("DisabledPictureMode", m_p.disabledPictureMode, 0);
    take("PicturePushOnHover", m_p.picturePushOnHover, false);
    takeInt("PictureEffectOnOver", m_p.pictureEffectOnOver, 1);
    takeInt("PictureEffectOnDown", m_p.pictureEffectOnDown, 2);
    take("MaskColor", m_p.maskColor, Colour::rgb(224, 224, 224));
    take("UseMaskColor", m_p.useMaskColor, true);
    takeInt("CaptionEffects", m_p.captionEffects, 0);
    takeInt("Mode", m_p.mode, 0);
    takeInt("PictureAlign", m_p.pictureAlign, 1);
    takeInt("CaptionAlign", m_p.captionAlign, 1);
    take("ForeColor", m_p.foreColor, buttonText);
    take("ForeColorHover", m_p.foreColorHover, buttonText);
    {
        QPalette palette = this->palette();
        const Colour fore = TranslateColor(m_p.foreColor);
        palette.setColor(QPalette::WindowText, QColor(fore.red(), fore.green(), fore.blue()));
        setPalette(palette);
    }
    take("DropDownSeparator", m_p.dropDownSeparator, false);
    take("TooltipTitle", m_p.tooltipTitle, QString());
    take("ToolTip", m_p.toolTip, QString());
    takeInt("TooltipIcon", m_p.toolTipIcon, 0);
    takeInt("TooltipType", m_p.toolTipType, 0);
    take("TooltipBackColor", m_p.tooltipBackColor, SystemRgb(SystemColours::InfoBackground));
    take("RightToLeft", m_p.rightToLeft, false);
    m_tooltipRightToLeft = m_p.rightToLeft;
    takeInt("DropDownSymbol", m_p.dropDownSymbol, 0);
    takeInt("ColorScheme", m_p.colorScheme, 0);

    for (const QString &name : std::as_const(failed))
        qCWarning(lcButton, "saved property %s of %s cannot be read; it keeps its value",
                  qPrintable(name), qPrintable(objectName()));

    QWidget::setEnabled(m_p.enabled);
    SetAccessKeys();
    applyCursor();
    ++m_lookGeneration;
    resizeStep();
    if (m_ambient.userMode)
        setUpRunMode();
    return failed;
}

void zephbutton::WriteProperties(PropertyBag &bag) const
{
    const Colour buttonText = SystemRgb(SystemColours::ButtonText);
    auto integer = [](int value) { return PropertyBag::Value(qint32(value)); };
    auto picture = [](const ButtonPicturePtr &p) { return PropertyBag::Value(p ? p->picture() : Picture()); };

    bag.write(QStringLiteral("ButtonStyle"), integer(m_p.buttonStyle), integer(1));
    bag.write(QStringLiteral("ShowFocusRect"), m_p.showFocusRect, false);
    bag.write(QStringLiteral("Enabled"), m_p.enabled, true);
    bag.write(QStringLiteral("Font"), fontDescription(), m_ambient.font);
    bag.write(QStringLiteral("BackColor"), m_p.backColor, SystemRgb(SystemColours::ButtonFace));
    bag.write(QStringLiteral("Caption"), m_p.caption, QStringLiteral("zephbutton1"));
    bag.write(QStringLiteral("ForeColor"), m_p.foreColor, buttonText);
    bag.write(QStringLiteral("ForeColorHover"), m_p.foreColorHover, buttonText);
    bag.write(QStringLiteral("Mode"), integer(m_p.mode), integer(0));
    bag.write(QStringLiteral("Value"), m_p.value, false);
    bag.write(QStringLiteral("MousePointer"), integer(m_mousePointer), integer(0));
    bag.write(QStringLiteral("HandPointer"), m_p.handPointer, false);
    bag.write(QStringLiteral("MouseIcon"), m_mouseIcon, Picture());
    bag.write(QStringLiteral("PictureNormal"), picture(m_p.pictureNormal), Picture());
    bag.write(QStringLiteral("PictureHot"), picture(m_p.pictureHot), Picture());
    bag.write(QStringLiteral("PictureDown"), picture(m_p.pictureDown), Picture());
    bag.write(QStringLiteral("PictureAlign"), integer(m_p.pictureAlign), integer(1));
    bag.write(QStringLiteral("PictureEffectOnOver"), integer(m_p.pictureEffectOnOver), integer(1));
    bag.write(QStringLiteral("PictureEffectOnDown"), integer(m_p.pictureEffectOnDown), integer(2));
    bag.write(QStringLiteral("PicturePushOnHover"), m_p.picturePushOnHover, false);
    bag.write(QStringLiteral("PictureShadow"), m_p.pictureShadow, false);
    bag.write(QStringLiteral("PictureOpacity"), integer(m_p.pictureOpacity), integer(255));
    bag.write(QStringLiteral("PictureOpacityOnOver"), integer(m_p.pictureOpacityOnOver), integer(255));
    bag.write(QStringLiteral("DisabledPictureMode"), integer(m_p.disabledPictureMode), integer(0));
    // Written against an empty text, which no number equals: always stored.
    bag.write(QStringLiteral("CaptionEffects"), integer(m_p.captionEffects), QString());
    bag.write(QStringLiteral("UseMaskColor"), m_p.useMaskColor, true);
    bag.write(QStringLiteral("MaskColor"), m_p.maskColor, Colour::rgb(224, 224, 224));
    bag.write(QStringLiteral("CaptionAlign"), integer(m_p.captionAlign), integer(1));
    bag.write(QStringLiteral("ToolTip"), m_p.toolTip, QString());
    bag.write(QStringLiteral("TooltipType"), integer(m_p.toolTipType), integer(0));
    bag.write(QStringLiteral("TooltipIcon"), integer(m_p.toolTipIcon), integer(0));
    bag.write(QStringLiteral("TooltipTitle"), m_p.tooltipTitle, QString());
    bag.write(QStringLiteral("TooltipBackColor"), m_p.tooltipBackColor, SystemRgb(SystemColours::InfoBackground));
    bag.write(QStringLiteral("RightToLeft"), m_p.rightToLeft, false);
    bag.write(QStringLiteral("DropDownSymbol"), integer(m_p.dropDownSymbol), integer(0));
    bag.write(QStringLiteral("DropDownSeparator"), m_p.dropDownSeparator, false);
    bag.write(QStringLiteral("ColorScheme"), integer(m_p.colorScheme), integer(0));
}

// --- methods -----------------------------------------------------------------

void zephbutton::SetPopupMenu(QObject *menu, int align, int flags, QAction *defaultMenu)
{
    QMenu *popup = qobject_cast<QMenu *>(menu);
    if (!popup)
        return;
    disconnect(m_menuGone);
    m_menu = popup;
    m_menuDefault = defaultMenu;
    DropDownState &dropDown = m_input.dropDown();
    dropDown.align = align;
    dropDown.flags = flags;
    dropDown.menuSet = true;
    // A menu that ends while attached leaves a button without a menu, not one
    // that no longer reacts to the mouse.
    m_menuGone = connect(popup, &QObject::destroyed, this, &zephbutton::UnsetPopupMenu);
}

void zephbutton::UnsetPopupMenu()
{
    disconnect(m_menuGone);
    m_menu = nullptr;
    m_menuDefault = nullptr;
    DropDownState &dropDown = m_input.dropDown();
    dropDown.menuSet = false;
    dropDown.menuLatch = false;
}

void zephbutton::setPopupPresenter(PopupPresenter *presenter)
{
    m_popupPresenter = presenter;
}

void zephbutton::setShellOpener(ShellOpener *opener)
{
    m_opener = opener;
}

bool zephbutton::OpenWebsite(const QString &address)
{
    if (!m_opener) {
        m_ownOpener = std::make_unique<DesktopShellOpener>();
        m_opener = m_ownOpener.get();
    }
    return m_opener->open(QUrl(address, QUrl::TolerantMode));
}

void zephbutton::setAboutPresenter(MessagePresenter presenter)
{
    m_aboutPresenter = std::move(presenter);
}

void zephbutton::About()
{
    const QString text = QStringLiteral("zephbutton " LUMISONG_VERSION_TEXT "\n\n"
                                        "The skinned push button of Lumisong: fourteen styles, "
                                        "pictures with effects, caption effects and a drop-down menu.\n\n"
                                        "Written for Lumisong by the Tolvane team.");
    if (m_aboutPresenter)
        m_aboutPresenter(this, QStringLiteral("About"), text);
}

void zephbutton::Redraw()
{
    const QSize size = this->size();
    if (m_surface.size() != size) {
        m_surface.resize(size);
        m_painter.ApplyWindowRegion();
    }
    m_surface.setFont(m_font ? m_font->description().toQFont() : QFont());
    m_surface.setDevicePixelRatio(devicePixelRatioF());
    m_painter.Redraw();
    m_deviceImage = m_surface.devicePixelRatio() == 1.0 ? QImage() : m_surface.deviceImage();
    m_paintedGeneration = m_lookGeneration;
    m_paintedRuntime = m_runtime;
    showSurface();
}

// Input redraws often repaint what is already there (a checked toggle on
// every move): with no property written and the same run-time look since the
// last full redraw, only the redraw's stored state change is made.
void zephbutton::redraw()
{
    m_painter.storeCheckedLook();
    if (m_paintedGeneration == m_lookGeneration && m_paintedRuntime == m_runtime
        && m_surface.size() == size() && m_surface.devicePixelRatio() == devicePixelRatioF())
        return;
    Redraw();
}

// --- run mode: the message sink ------------------------------------------------------

void zephbutton::setUpRunMode()
{
    m_runMode = true;
    // Colour changes are routed only when themes were on at this moment.
    m_routeSysColour = m_runtime.themed;
    watchWindow();
}

void zephbutton::watchWindow()
{
    QWidget *form = window();
    if (form == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = form;
    form->installEventFilter(this);
}

void zephbutton::sendMessage(quint32 message, quintptr wParam)
{
    bool handled = false;
    qintptr result = 0;
    Subclass_WndProc(false, handled, result, qulonglong(quintptr(this)), message, wParam, 0);
}

void zephbutton::Subclass_WndProc(bool, bool &, qintptr &, qulonglong, quint32 uMsg, quintptr wParam,
                                  qintptr)
{
    switch (uMsg) {
    case MessageActivate:
    case MessageNcActivate:
        if (wParam != 0)
            m_input.formActivated();
        else
            m_input.formDeactivated();
        break;
    case MessageSysColourChange:
    case MessageThemeChanged:
        ++m_lookGeneration;
        Redraw();
        break;
    case MessageMouseLeave:
        m_input.mouseLeave();
        break;
    default:
        break;
    }
}

void zephbutton::showSurface()
{
    if (m_surface.isEmpty())
        clearMask();
    else if (m_surface.hasWindowRegion())
        setMask(m_surface.windowRegion());
    else
        clearMask();
    update();
}

// --- access key, resize, painting ---------------------------------------------

QChar zephbutton::accessKeyFor(const QString &caption)
{
    const qsizetype length = caption.size();
    if (length <= 1)
        return {};
    const qsizetype a = caption.indexOf(u'&');
    if (a < 0 || a >= length - 1)
        return {};
    if (caption.at(a + 1) != u'&')
        return caption.at(a + 1).toLower();
    const qsizetype c = caption.indexOf(u'&', a + 2);
    if (c < 0 || c >= length - 1 || caption.at(c + 1) == u'&')
        return {};
    return caption.at(c + 1).toLower();
}

void zephbutton::SetAccessKeys()
{
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    m_accessKey = accessKeyFor(m_p.caption);
    // The access key works with Alt, as the platform's do.
    if (!m_accessKey.isNull())
        m_shortcutId = grabShortcut(QKeySequence::mnemonic(QStringLiteral("&") + m_accessKey));
}

void zephbutton::resizeStep()
{
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const int minimum = int(std::lround(MinimumTwips * dpi / 1440.0));
    // A hidden button gets no resize event; Redraw() below makes its surface follow.
    if (height() < minimum || width() < minimum)
        resize(std::max(width(), minimum), std::max(height(), minimum));
    m_painter.ApplyWindowRegion();
    Redraw();
}

void zephbutton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_surface.size() != size())
        m_surface.resize(size());
    resizeStep();
}

void zephbutton::paintEvent(QPaintEvent *event)
{
    if (m_surface.isEmpty())
        return;
    // Moved to a screen of another scale: drawn afresh for it.
    if (m_surface.devicePixelRatio() != devicePixelRatioF())
        Redraw();
    QPainter painter(this);
    if (m_deviceImage.isNull())
        painter.drawImage(event->rect(), m_surface.image(), event->rect());
    else
        painter.drawImage(QRectF(rect()), m_deviceImage);
}

} // namespace Lumisong
