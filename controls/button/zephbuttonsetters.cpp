// The skinned button's property accessors: each stores, redraws when the look
// changes and announces the property to the host.

#include "controls/button/zephbutton.h"

#include <QCursor>
#include <QPixmap>

#include <algorithm>

#include "controls/button/buttonenums.h"
#include "controls/button/colourmath.h"

namespace Lumisong {

namespace {

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

// --- property plumbing ---------------------------------------------------------

void zephbutton::notify(ButtonProperty property)
{
    // Every announced property may change the look.
    ++m_lookGeneration;
    emit propertyChanged(QString::fromLatin1(ButtonMembers::property(property).name));
}

void zephbutton::store(ButtonProperty property, bool redraw)
{
    m_model.applyRules(m_runtime);
    ++m_lookGeneration;
    if (redraw)
        Redraw();
    notify(property);
}

void zephbutton::setBackColor(Colour colour)
{
    m_model.setBackColor(colour);
    store(ButtonProperty::BackColor);
}

void zephbutton::setButtonStyle(int style)
{
    m_model.setButtonStyle(style);
    applyStyleShape(style);
    store(ButtonProperty::ButtonStyle);
}

void zephbutton::setCaption(const QString &caption)
{
    m_p.caption = caption;
    SetAccessKeys();
    store(ButtonProperty::Caption);
}

void zephbutton::setCaptionAlign(int align)
{
    m_p.captionAlign = align;
    store(ButtonProperty::CaptionAlign);
}

void zephbutton::setDropDownSymbol(int symbol)
{
    m_p.dropDownSymbol = symbol;
    store(ButtonProperty::DropDownSymbol);
}

void zephbutton::setDropDownSeparator(bool separator)
{
    m_p.dropDownSeparator = separator;
    store(ButtonProperty::DropDownSeparator);
}

void zephbutton::setDisabledPictureMode(int mode)
{
    m_p.disabledPictureMode = mode;
    store(ButtonProperty::DisabledPictureMode);
}

void zephbutton::setEnabled(bool enabled)
{
    m_p.enabled = enabled;
    QWidget::setEnabled(enabled);
    store(ButtonProperty::Enabled);
}

void zephbutton::setButtonFont(std::shared_ptr<ButtonFont> font)
{
    if (!font)
        return;
    bindFont(std::move(font));
    applyWindowFont();
    store(ButtonProperty::Font);
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
    store(ButtonProperty::Font);
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
    store(ButtonProperty::ForeColor);
}

void zephbutton::setForeColorHover(Colour colour)
{
    m_p.foreColorHover = colour;
    store(ButtonProperty::ForeColorHover);
}

void zephbutton::setHandPointer(bool hand)
{
    m_p.handPointer = hand;
    if (hand)
        m_p.mousePointer = 0;
    applyCursor();
    store(ButtonProperty::HandPointer);
}

qulonglong zephbutton::hWnd() const
{
    return qulonglong(const_cast<zephbutton *>(this)->winId());
}

void zephbutton::setMaskColor(Colour colour)
{
    m_p.maskColor = colour;
    store(ButtonProperty::MaskColor);
}

void zephbutton::setMode(int mode)
{
    m_model.setMode(mode, m_runtime);
    m_model.applyRules(m_runtime);
    Redraw();
    notify(ButtonProperty::Value);
    notify(ButtonProperty::Mode);
}

void zephbutton::setMouseIcon(const Picture &icon)
{
    m_p.mouseIcon = icon;
    if (!icon.isNull()) {
        m_p.handPointer = false;
        notify(ButtonProperty::HandPointer);
        m_p.mousePointer = 99;
    } else {
        m_p.mousePointer = 0;
    }
    applyCursor();
    notify(ButtonProperty::MouseIcon);
}

void zephbutton::setMousePointer(int pointer)
{
    m_p.mousePointer = qint16(pointer);
    applyCursor();
    notify(ButtonProperty::MousePointer);
}

void zephbutton::applyCursor()
{
    if (m_p.handPointer)
        setCursor(Qt::PointingHandCursor);
    else if (m_p.mousePointer == 99 && !m_p.mouseIcon.isNull())
        setCursor(QCursor(QPixmap::fromImage(m_p.mouseIcon.image)));
    else if (m_p.mousePointer == 0)
        unsetCursor();
    else
        setCursor(cursorForPointer(m_p.mousePointer));
}

void zephbutton::setPictureNormal(const ButtonPicturePtr &picture)
{
    m_model.setPicture(ButtonProperty::PictureNormal, picture);
    if (!picture) {
        resizeStep();
        m_model.emptyPictures();
        notify(ButtonProperty::PictureHot);
        notify(ButtonProperty::PictureDown);
        return;
    }
    store(ButtonProperty::PictureNormal);
}

void zephbutton::setPictureHot(const ButtonPicturePtr &picture)
{
    setPictureSlot(ButtonProperty::PictureHot, picture);
}

void zephbutton::setPictureDown(const ButtonPicturePtr &picture)
{
    setPictureSlot(ButtonProperty::PictureDown, picture);
}

// A picture that went into the empty normal slot is announced there, undrawn.
void zephbutton::setPictureSlot(ButtonProperty slot, const ButtonPicturePtr &picture)
{
    const ButtonProperty filled = m_model.setPicture(slot, picture);
    notify(filled);
    if (filled == slot)
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
    store(ButtonProperty::PictureAlign, bool(m_p.pictureNormal));
}

void zephbutton::setPictureShadow(bool shadow)
{
    m_p.pictureShadow = shadow;
    store(ButtonProperty::PictureShadow);
}

void zephbutton::setPictureEffectOnOver(int effect)
{
    m_p.pictureEffectOnOver = effect;
    store(ButtonProperty::PictureEffectOnOver);
}

void zephbutton::setPictureEffectOnDown(int effect)
{
    m_p.pictureEffectOnDown = effect;
    store(ButtonProperty::PictureEffectOnDown);
}

void zephbutton::setPicturePushOnHover(bool push)
{
    m_p.picturePushOnHover = push;
    store(ButtonProperty::PicturePushOnHover);
}

void zephbutton::setPictureOpacity(int opacity)
{
    m_p.pictureOpacity = ButtonModel::opacity(opacity);
    store(ButtonProperty::PictureOpacity);
}

void zephbutton::setPictureOpacityOnOver(int opacity)
{
    m_p.pictureOpacityOnOver = ButtonModel::opacity(opacity);
    store(ButtonProperty::PictureOpacityOnOver);
}

void zephbutton::setRightToLeft(bool rightToLeft)
{
    m_p.rightToLeft = rightToLeft;
    m_tooltipRightToLeft = rightToLeft;
    store(ButtonProperty::RightToLeft);
}

void zephbutton::setCaptionEffects(int effects)
{
    m_p.captionEffects = effects;
    store(ButtonProperty::CaptionEffects);
}

void zephbutton::setShowFocusRect(bool show)
{
    m_p.showFocusRect = show;
    notify(ButtonProperty::ShowFocusRect);
}

void zephbutton::setUseMaskColor(bool use)
{
    m_p.useMaskColor = use;
    store(ButtonProperty::UseMaskColor, bool(m_p.pictureNormal));
}

void zephbutton::setValue(bool value)
{
    if (!m_model.setValue(value, m_runtime)) {
        m_model.applyRules(m_runtime);
        Redraw();
        return;
    }
    store(ButtonProperty::Value);
}

void zephbutton::setTooltipTitle(const QString &title)
{
    m_p.tooltipTitle = title;
    store(ButtonProperty::TooltipTitle);
}

void zephbutton::setToolTip(const QString &text)
{
    m_p.toolTip = text;
    store(ButtonProperty::ToolTip);
}

void zephbutton::setTooltipBackColor(Colour colour)
{
    m_p.tooltipBackColor = colour;
    store(ButtonProperty::TooltipBackColor);
}

void zephbutton::setToolTipIcon(int icon)
{
    m_p.toolTipIcon = icon;
    store(ButtonProperty::ToolTipIcon);
}

void zephbutton::setToolTipType(int type)
{
    m_p.toolTipType = type;
    store(ButtonProperty::ToolTipType);
}

void zephbutton::setColorScheme(int scheme)
{
    m_model.setColorScheme(scheme);
    store(ButtonProperty::ColorScheme);
}

} // namespace Lumisong
