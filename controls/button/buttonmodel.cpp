#include "controls/button/buttonmodel.h"

#include <algorithm>
#include <type_traits>

#include "controls/button/buttonenums.h"
#include "controls/button/buttonruntime.h"
#include "controls/button/colourmath.h"
#include "platform/systemcolours.h"

namespace Lumisong {

namespace {

// Integers of every width are saved as 32-bit integers.
template <typename T>
using Saved = std::conditional_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, qint32, T>;

// Runs the step of a property's kind: the font (no field), a picture slot, or
// a plain value.
template <typename Font, typename Pictures, typename Values>
auto dispatch(const ButtonPropertySpec::Field &field, Font font, Pictures pictures, Values values)
{
    return std::visit(
        [&](auto member) {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, std::monostate>)
                return font();
            else if constexpr (std::is_same_v<M, ButtonPicturePtr ButtonProperties::*>)
                return pictures(member);
            else
                return values(member);
        },
        field);
}

// The pointer settings follow one another: the hand pointer sets pointer 0,
// and a custom icon turns the hand off and selects pointer 99 (0 without one).
void settleCursor(ButtonPropertySpec::Effect effect, bool &hand, qint16 &pointer, const Picture &icon)
{
    if (effect == ButtonPropertySpec::Effect::HandCursor) {
        if (hand)
            pointer = 0;
        return;
    }
    hand = hand && icon.isNull();
    pointer = icon.isNull() ? 0 : 99;
}

} // namespace

PropertyBag::Value ButtonModel::savedDefault(const ButtonPropertySpec &spec, const FontDescription &hostFont)
{
    using D = ButtonPropertySpec::Default;
    switch (spec.from) {
    case D::ButtonFace:
        return SystemRgb(SystemColours::ButtonFace);
    case D::ButtonText:
        return SystemRgb(SystemColours::ButtonText);
    case D::InfoBackground:
        return SystemRgb(SystemColours::InfoBackground);
    case D::HostFont:
        return hostFont;
    case D::Given:
        break;
    }
    return spec.saved;
}

void ButtonModel::place(const ButtonPropertySpec &spec)
{
    dispatch(
        spec.field, [] {}, [](ButtonPicturePtr ButtonProperties::*) {},
        [&](auto field) {
            using T = std::remove_cvref_t<decltype(m_p.*field)>;
            m_p.*field = T(std::get<Saved<T>>(*spec.initial));
        });
}

bool ButtonModel::load(const ButtonPropertySpec &spec, const PropertyBag &bag, const FontDescription &hostFont)
{
    const QString key = spec.savedKey();
    return dispatch(
        spec.field, [] { return true; },
        [&](ButtonPicturePtr ButtonProperties::*field) {
            // A picture equal to the one held keeps its object.
            ButtonPicturePtr &slot = m_p.*field;
            Picture picture = slot ? slot->picture() : Picture();
            const std::optional<Picture> stored = bag.read<Picture>(key, Picture());
            if (stored)
                picture = *stored;
            if (!slot || !(slot->picture() == picture))
                slot = ButtonPicture::from(picture);
            return stored.has_value();
        },
        [&](auto field) {
            using T = std::remove_cvref_t<decltype(m_p.*field)>;
            const std::optional<Saved<T>> stored =
                bag.read<Saved<T>>(key, std::get<Saved<T>>(savedDefault(spec, hostFont)));
            if (!stored)
                return false;
            if constexpr (std::is_same_v<T, quint8>) {
                if (*stored < 0 || *stored > 255)
                    return false;
            }
            m_p.*field = T(*stored);
            return true;
        });
}

void ButtonModel::save(const ButtonPropertySpec &spec, PropertyBag &bag, const FontDescription &font,
                       const FontDescription &hostFont) const
{
    using Value = PropertyBag::Value;
    const Value value = dispatch(
        spec.field, [&] { return Value(font); },
        [&](ButtonPicturePtr ButtonProperties::*field) {
            const ButtonPicturePtr &slot = m_p.*field;
            return Value(slot ? slot->picture() : Picture());
        },
        [&](auto field) {
            using T = std::remove_cvref_t<decltype(m_p.*field)>;
            return Value(Saved<T>(m_p.*field));
        });
    bag.write(spec.savedKey(), value, spec.alwaysSaved ? Value(QString()) : savedDefault(spec, hostFont));
}

bool ButtonModel::stores(ButtonProperty property, ButtonRuntime &runtime) const
{
    if (ButtonMembers::property(property).effect != ButtonPropertySpec::Effect::ToggleValue ||
        m_p.mode != ModePush)
        return true;
    runtime.state = StateNormal;
    return false;
}

void ButtonModel::assigned(ButtonProperty property, ButtonRuntime &runtime)
{
    using E = ButtonPropertySpec::Effect;
    const E effect = ButtonMembers::property(property).effect;
    switch (effect) {
    case E::CustomScheme:
        if (style() != StyleToolbar)
            scheme() = SchemeCustom;
        break;
    case E::StyleLook:
        applyStyleLook();
        break;
    case E::SchemeColours:
        ApplyColorScheme(m_p, style(), scheme());
        break;
    case E::PushDrawnNormal:
        if (m_p.mode == ModePush)
            runtime.state = StateNormal;
        break;
    case E::ToggleValue:
        if (!m_p.value)
            runtime.state = StateNormal;
        break;
    case E::HandCursor:
    case E::IconCursor:
        settleCursor(effect, m_p.handPointer, m_p.mousePointer, m_p.mouseIcon);
        break;
    default:
        break;
    }
}

ButtonModel::PictureStored ButtonModel::setPicture(ButtonProperty slot, const ButtonPicturePtr &picture)
{
    const ButtonProperty normal = ButtonProperty::PictureNormal;
    const ButtonProperty filled = slot == normal || m_p.hasPicture() ? slot : normal;
    m_p.*std::get<ButtonPicturePtr ButtonProperties::*>(ButtonMembers::property(filled).field) = picture;
    return {filled, slot == normal};
}

void ButtonModel::emptyPictures()
{
    m_p.pictureHot.reset();
    m_p.pictureDown.reset();
}

bool ButtonModel::checked() const
{
    return m_p.mode != ModePush && m_p.value;
}

void ButtonModel::settleCheckedLook(ButtonRuntime &runtime) const
{
    if (checked() && style() != StyleClassic && style() != StylePale)
        runtime.state = StateDown;
}

void ButtonModel::applyStyleLook()
{
    if (const std::optional<int> family = DefaultSchemeForStyle(style()))
        scheme() = *family;
    ApplyColorScheme(m_p, style(), scheme());
}

void ButtonModel::applyRules(const ButtonRuntime &runtime)
{
    if (style() == StyleThemed && !runtime.themed) {
        m_p.buttonStyle = StyleSoftGradient;
        scheme() = SchemeBlue;
        ApplyColorScheme(m_p, style(), scheme());
    }
    if (style() == StylePale)
        ResetForeground(m_p, runtime.state == StateDown);
}

} // namespace Lumisong
