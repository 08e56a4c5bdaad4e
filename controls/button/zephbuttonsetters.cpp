// The skinned button's property accessors. Every row of the property list
// has its setter here, made by the same macro: the value goes through
// assign(), which stores it, applies the model's rules for that property,
// takes over what the window needs from it, redraws as the row says and
// announces the property by the row's name.

#include "controls/button/zephbutton.h"

#include <QCursor>
#include <QPixmap>

#include <algorithm>
#include <optional>

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

// The cursor of the pointer settings: the hand before all, a custom icon as
// pointer 99, none (the window's own) for pointer 0.
std::optional<QCursor> cursorFor(bool hand, int pointer, const Picture &icon)
{
    if (hand)
        return QCursor(Qt::PointingHandCursor);
    if (pointer == 99 && !icon.isNull())
        return QCursor(QPixmap::fromImage(icon.image));
    if (pointer == 0)
        return std::nullopt;
    return QCursor(cursorForPointer(pointer));
}

} // namespace

// --- property plumbing ---------------------------------------------------------

template <typename Field, typename Arg>
void zephbutton::assign(ButtonProperty property, Field ButtonProperties::*field, const Arg &given)
{
    if (!m_model.assign(property, field, given, m_runtime)) {
        m_model.applyRules(m_runtime);
        Redraw();
        return;
    }
    applyToWindow(property);
    announce(property);
}

// What the control window takes over from an assigned value.
void zephbutton::applyToWindow(ButtonProperty property)
{
    using E = ButtonPropertySpec::Effect;
    switch (ButtonMembers::property(property).effect) {
    case E::StyleLook:
        applyStyleShape();
        break;
    case E::AccessKeys:
        SetAccessKeys();
        break;
    case E::WindowEnabled:
        QWidget::setEnabled(m_p.enabled);
        break;
    case E::HandCursor:
    case E::IconCursor:
    case E::Cursor:
        applyCursor();
        break;
    case E::ToolTipDirection:
        m_tooltipRightToLeft = m_p.rightToLeft;
        break;
    default:
        break;
    }
}

void zephbutton::announce(ButtonProperty property)
{
    using B = ButtonProperty;
    using E = ButtonPropertySpec::Effect;
    const ButtonPropertySpec &spec = ButtonMembers::property(property);
    // The values an assignment changed beside its own are announced first.
    if (spec.effect == E::PushDrawnNormal) {
        m_model.applyRules(m_runtime);
        Redraw();
        notify(B::Value);
        notify(property);
        return;
    }
    if (spec.effect == E::IconCursor && !m_p.mouseIcon.isNull())
        notify(B::HandPointer);
    switch (spec.repaint) {
    case ButtonPropertySpec::Repaint::Always:
        store(property);
        break;
    case ButtonPropertySpec::Repaint::WithPicture:
        store(property, m_p.hasPicture());
        break;
    case ButtonPropertySpec::Repaint::Never:
        notify(property);
        break;
    }
}

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

// A picture that went into the empty normal slot is announced there, undrawn;
// emptying the normal slot empties the other two.
void zephbutton::setPicture(ButtonProperty slot, const ButtonPicturePtr &picture)
{
    using B = ButtonProperty;
    const auto [filled, normal] = m_model.setPicture(slot, picture);
    if (normal && !picture) {
        resizeStep();
        m_model.emptyPictures();
        notify(B::PictureHot);
        notify(B::PictureDown);
    } else if (normal) {
        store(slot);
    } else {
        notify(filled);
        if (filled == slot)
            Redraw();
    }
}

#define LUMISONG_SETTER(FieldType, ApiType, field, Name, ...) \
    void zephbutton::set##Name(ArgOf<ApiType> given) \
    { \
        assign(ButtonProperty::Name, &ButtonProperties::field, given); \
    }
#define LUMISONG_PICTURE_SETTERS(field, Name, ...) \
    void zephbutton::set##Name(const ButtonPicturePtr &picture) \
    { \
        setPicture(ButtonProperty::Name, picture); \
    } \
    Picture zephbutton::field##Value() const \
    { \
        return m_p.field ? m_p.field->picture() : Picture(); \
    } \
    void zephbutton::set##Name##Value(const Picture &picture) \
    { \
        set##Name(ButtonPicture::from(picture)); \
    }
#define LUMISONG_NO_SETTER(ApiType, accessors, Name, ...)
LUMISONG_BUTTON_PROPERTIES(LUMISONG_SETTER, LUMISONG_PICTURE_SETTERS, LUMISONG_NO_SETTER)
#undef LUMISONG_SETTER
#undef LUMISONG_PICTURE_SETTERS
#undef LUMISONG_NO_SETTER

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

qulonglong zephbutton::hWnd() const
{
    return qulonglong(const_cast<zephbutton *>(this)->winId());
}

void zephbutton::applyCursor()
{
    if (const std::optional<QCursor> cursor = cursorFor(m_p.handPointer, m_p.mousePointer, m_p.mouseIcon))
        setCursor(*cursor);
    else
        unsetCursor();
}

} // namespace Lumisong
