#include "controls/button/zephbutton.h"

#include <QAction>
#include <QLoggingCategory>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include "controls/button/buttonenums.h"
#include "controls/button/colourmath.h"
#include "platform/propertybag.h"
#include "platform/systemcolours.h"
#include "platform/ui/desktopshellopener.h"

Q_LOGGING_CATEGORY(lcButton, "lumisong.button")

namespace Lumisong {

namespace {

bool g_themesAvailable = true;

// The smallest side of a button, in twips.
constexpr int MinimumTwips = 220;

Colour systemRgb(int index)
{
    return TranslateColor(Colour::system(index));
}

Qt::CursorShape cursorForPointer(int pointer)
{
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

zephbutton::zephbutton(QWidget *parent)
    : QWidget(parent)
    , m_painter(m_surface, m_p, m_runtime)
{
    m_runtime.themed = g_themesAvailable;
    m_font = std::make_shared<ButtonFont>(m_ambient.font);
    m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
    applyWindowFont();
    m_aboutPresenter = [](QWidget *owner, const QString &title, const QString &text) {
        QMessageBox::information(owner, title, text);
    };
}

zephbutton::~zephbutton()
{
    // Release the font object (others may still hold it) and the menu.
    disconnect(m_fontConnection);
    m_font.reset();
    UnsetPopupMenu();
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
    m_ambient = ambient;
    m_runtime.userMode = ambient.userMode;
    m_runtime.isDefault = ambient.displayAsDefault;
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
    disconnect(m_fontConnection);
    m_font = std::make_shared<ButtonFont>(font);
    m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
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

    const Colour buttonText = systemRgb(SystemColours::ButtonText);

    takeInt("ButtonStyle", m_p.buttonStyle, 1);
    take("ShowFocusRect", m_p.showFocusRect, false);
    {
        FontDescription font = fontDescription();
        take("Font", font, m_ambient.font);
        if (!(font == fontDescription())) {
            disconnect(m_fontConnection);
            m_font = std::make_shared<ButtonFont>(font);
            m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
        }
        applyWindowFont();
    }
    take("BackColor", m_p.backColor, systemRgb(SystemColours::ButtonFace));
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
    take("TooltipBackColor", m_p.tooltipBackColor, systemRgb(SystemColours::InfoBackground));
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
    resizeStep();
    return failed;
}

void zephbutton::WriteProperties(PropertyBag &bag) const
{
    const Colour buttonText = systemRgb(SystemColours::ButtonText);
    auto integer = [](int value) { return PropertyBag::Value(qint32(value)); };
    auto picture = [](const ButtonPicturePtr &p) { return PropertyBag::Value(p ? p->picture() : Picture()); };

    bag.write(QStringLiteral("ButtonStyle"), integer(m_p.buttonStyle), integer(1));
    bag.write(QStringLiteral("ShowFocusRect"), m_p.showFocusRect, false);
    bag.write(QStringLiteral("Enabled"), m_p.enabled, true);
    bag.write(QStringLiteral("Font"), fontDescription(), m_ambient.font);
    bag.write(QStringLiteral("BackColor"), m_p.backColor, systemRgb(SystemColours::ButtonFace));
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
    bag.write(QStringLiteral("TooltipBackColor"), m_p.tooltipBackColor, systemRgb(SystemColours::InfoBackground));
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
    m_menu = popup;
    m_menuAlign = align;
    m_menuFlags = flags;
    m_menuDefault = defaultMenu;
    m_menuSet = true;
}

void zephbutton::UnsetPopupMenu()
{
    m_menu = nullptr;
    m_menuDefault = nullptr;
    m_menuSet = false;
    m_menuLatch = false;
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
    m_painter.Redraw();
    showSurface();
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

// --- property plumbing ---------------------------------------------------------

void zephbutton::notify(const char *name)
{
    emit propertyChanged(QString::fromLatin1(name));
}

void zephbutton::store(const char *name, bool redraw)
{
    if (redraw)
        Redraw();
    notify(name);
}

void zephbutton::setBackColor(Colour colour)
{
    m_p.backColor = colour;
    if (m_p.buttonStyle != StyleToolbar)
        m_p.colorScheme = SchemeCustom;
    store("BackColor");
}

void zephbutton::setButtonStyle(int style)
{
    m_p.buttonStyle = style;
    DefaultSchemeForStyle(m_p);
    ApplyColorScheme(m_p);
    m_painter.ApplyWindowRegion();
    store("ButtonStyle");
}

void zephbutton::setCaption(const QString &caption)
{
    m_p.caption = caption;
    SetAccessKeys();
    store("Caption");
}

void zephbutton::setCaptionAlign(int align)
{
    m_p.captionAlign = align;
    store("CaptionAlign");
}

void zephbutton::setDropDownSymbol(int symbol)
{
    m_p.dropDownSymbol = symbol;
    store("DropDownSymbol");
}

void zephbutton::setDropDownSeparator(bool separator)
{
    m_p.dropDownSeparator = separator;
    store("DropDownSeparator");
}

void zephbutton::setDisabledPictureMode(int mode)
{
    m_p.disabledPictureMode = mode;
    store("DisabledPictureMode");
}

void zephbutton::setEnabled(bool enabled)
{
    m_p.enabled = enabled;
    QWidget::setEnabled(enabled);
    store("Enabled");
}

void zephbutton::setButtonFont(std::shared_ptr<ButtonFont> font)
{
    if (!font)
        return;
    disconnect(m_fontConnection);
    m_font = std::move(font);
    m_fontConnection = connect(m_font.get(), &ButtonFont::changed, this, &zephbutton::fontChanged);
    applyWindowFont();
    store("Font");
    fontChanged();
}

FontDescription zephbutton::fontDescription() const
{
    return m_font ? m_font->description() : FontDescription();
}

void zephbutton::setFontDescription(const FontDescription &description)
{
    setButtonFont(std::make_shared<ButtonFont>(description));
}

void zephbutton::fontChanged()
{
    applyWindowFont();
    store("Font");
}

void zephbutton::applyWindowFont()
{
    if (m_font)
        QWidget::setFont(m_font->description().toQFont());
    update();
}

void zephbutton::setForeColor(Colour colour)
{
    m_p.foreColor = colour;
    store("ForeColor");
}

void zephbutton::setForeColorHover(Colour colour)
{
    m_p.foreColorHover = colour;
    store("ForeColorHover");
}

void zephbutton::setHandPointer(bool hand)
{
    m_p.handPointer = hand;
    if (hand)
        m_mousePointer = 0;
    applyCursor();
    store("HandPointer");
}

qulonglong zephbutton::hWnd() const
{
    return qulonglong(const_cast<zephbutton *>(this)->winId());
}

void zephbutton::setMaskColor(Colour colour)
{
    m_p.maskColor = colour;
    store("MaskColor");
}

void zephbutton::setMode(int mode)
{
    m_p.mode = mode;
    if (mode == ModePush)
        m_runtime.state = StateNormal;
    Redraw();
    notify("Value");
    notify("Mode");
}

void zephbutton::setMouseIcon(const Picture &icon)
{
    m_mouseIcon = icon;
    if (!icon.isNull()) {
        m_p.handPointer = false;
        notify("HandPointer");
        m_mousePointer = 99;
    } else {
        m_mousePointer = 0;
    }
    applyCursor();
    notify("MouseIcon");
}

void zephbutton::setMousePointer(int pointer)
{
    m_mousePointer = qint16(pointer);
    applyCursor();
    notify("MousePointer");
}

void zephbutton::applyCursor()
{
    if (m_p.handPointer)
        setCursor(Qt::PointingHandCursor);
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(QPixmap::fromImage(m_mouseIcon.image)));
    else if (m_mousePointer == 0)
        unsetCursor();
    else
        setCursor(cursorForPointer(m_mousePointer));
}

void zephbutton::setPictureNormal(const ButtonPicturePtr &picture)
{
    m_p.pictureNormal = picture;
    if (!picture) {
        resizeStep();
        m_p.pictureHot.reset();
        m_p.pictureDown.reset();
        notify("PictureHot");
        notify("PictureDown");
        return;
    }
    store("PictureNormal");
}

void zephbutton::setPictureHot(const ButtonPicturePtr &picture)
{
    if (!m_p.pictureNormal) {
        m_p.pictureNormal = picture;
        notify("PictureNormal");
        return;
    }
    m_p.pictureHot = picture;
    notify("PictureHot");
    Redraw();
}

void zephbutton::setPictureDown(const ButtonPicturePtr &picture)
{
    if (!m_p.pictureNormal) {
        m_p.pictureNormal = picture;
        notify("PictureNormal");
        return;
    }
    m_p.pictureDown = picture;
    notify("PictureDown");
    Redraw();
}

Picture zephbutton::pictureNormalValue() const
{
    return m_p.pictureNormal ? m_p.pictureNormal->picture() : Picture();
}

void zephbutton::setPictureNormalValue(const Picture &picture)
{
    setPictureNormal(ButtonPicture::from(picture));
}

Picture zephbutton::pictureHotValue() const
{
    return m_p.pictureHot ? m_p.pictureHot->picture() : Picture();
}

void zephbutton::setPictureHotValue(const Picture &picture)
{
    setPictureHot(ButtonPicture::from(picture));
}

Picture zephbutton::pictureDownValue() const
{
    return m_p.pictureDown ? m_p.pictureDown->picture() : Picture();
}

void zephbutton::setPictureDownValue(const Picture &picture)
{
    setPictureDown(ButtonPicture::from(picture));
}

void zephbutton::setPictureAlign(int align)
{
    m_p.pictureAlign = align;
    store("PictureAlign", bool(m_p.pictureNormal));
}

void zephbutton::setPictureShadow(bool shadow)
{
    m_p.pictureShadow = shadow;
    store("PictureShadow");
}

void zephbutton::setPictureEffectOnOver(int effect)
{
    m_p.pictureEffectOnOver = effect;
    store("PictureEffectOnOver");
}

void zephbutton::setPictureEffectOnDown(int effect)
{
    m_p.pictureEffectOnDown = effect;
    store("PictureEffectOnDown");
}

void zephbutton::setPicturePushOnHover(bool push)
{
    m_p.picturePushOnHover = push;
    store("PicturePushOnHover");
}

void zephbutton::setPictureOpacity(int opacity)
{
    m_p.pictureOpacity = quint8(std::clamp(opacity, 0, 255));
    store("PictureOpacity");
}

void zephbutton::setPictureOpacityOnOver(int opacity)
{
    m_p.pictureOpacityOnOver = quint8(std::clamp(opacity, 0, 255));
    store("PictureOpacityOnOver");
}

void zephbutton::setRightToLeft(bool rightToLeft)
{
    m_p.rightToLeft = rightToLeft;
    m_tooltipRightToLeft = rightToLeft;
    store("RightToLeft");
}

void zephbutton::setCaptionEffects(int effects)
{
    m_p.captionEffects = effects;
    store("CaptionEffects");
}

void zephbutton::setShowFocusRect(bool show)
{
    m_p.showFocusRect = show;
    notify("ShowFocusRect");
}

void zephbutton::setUseMaskColor(bool use)
{
    m_p.useMaskColor = use;
    store("UseMaskColor", bool(m_p.pictureNormal));
}

void zephbutton::setValue(bool value)
{
    if (m_p.mode == ModePush) {
        m_runtime.state = StateNormal;
        Redraw();
        return;
    }
    m_p.value = value;
    if (!value)
        m_runtime.state = StateNormal;
    store("Value");
}

void zephbutton::setTooltipTitle(const QString &title)
{
    m_p.tooltipTitle = title;
    store("TooltipTitle");
}

void zephbutton::setToolTip(const QString &text)
{
    m_p.toolTip = text;
    store("ToolTip");
}

void zephbutton::setTooltipBackColor(Colour colour)
{
    m_p.tooltipBackColor = colour;
    store("TooltipBackColor");
}

void zephbutton::setToolTipIcon(int icon)
{
    m_p.toolTipIcon = icon;
    store("ToolTipIcon");
}

void zephbutton::setToolTipType(int type)
{
    m_p.toolTipType = type;
    store("ToolTipType");
}

void zephbutton::setColorScheme(int scheme)
{
    m_p.colorScheme = scheme;
    ApplyColorScheme(m_p);
    store("ColorScheme");
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
    m_accessKey = accessKeyFor(m_p.caption);
}

void zephbutton::resizeStep()
{
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const int minimum = int(std::lround(MinimumTwips * dpi / 1440.0));
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
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface.image(), event->rect());
}

} // namespace Lumisong
