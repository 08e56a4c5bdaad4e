#include "controls/progressbar/progressbarmembers.h"

#include <type_traits>

#include "controls/progressbar/progressbar.h"

namespace Lumisong {

namespace {

using Value = ProgressBarProperty::Value;

template <typename Setter>
struct SetterArgument;
template <typename C, typename A>
struct SetterArgument<void (C::*)(A)>
{
    using type = std::decay_t<A>;
};

// The positions of one property in the creation, reading and writing steps.
struct Steps
{
    int init = 0;
    int read = 0;
    int write = 0;
};

template <auto Get, auto Set>
ProgressBarProperty property(ProgressBarPropertyId id, const char *name, const char *type, const char *help,
                             std::optional<Value> initial, Value saved, Steps steps)
{
    using T = typename SetterArgument<decltype(Set)>::type;
    ProgressBarProperty p{id, name, type, help, std::move(initial), std::move(saved)};
    p.initOrder = steps.init;
    p.readOrder = steps.read;
    p.writeOrder = steps.write;
    p.get = [](const ProgressBar &bar) { return Value(T((bar.*Get)())); };
    p.set = [](ProgressBar &bar, const Value &value) { (bar.*Set)(std::get<T>(value)); };
    return p;
}

// Saved against the empty text but read back against the control's name: an
// empty Text comes back as the name, and a Text equal to the name is saved.
ProgressBarProperty readingName(ProgressBarProperty p)
{
    p.readsName = true;
    return p;
}

QList<ProgressBarProperty> makeProperties()
{
    using B = ProgressBar;
    using I = ProgressBarPropertyId;
    const Value white = Colour::rgb(255, 255, 255);
    const Value black = Colour::rgb(0, 0, 0);
    const Value ambient = FontDescription::ambient();
    return {
        property<&B::value, &B::setValue>(I::Value, "Value", "Long", "Progressbar Value.", 50, 50, {3, 3, 4}),
        property<&B::max, &B::setMax>(I::Max, "Max", "Long", "Progressbar Max Value.", 100, 100, {1, 1, 2}),
        property<&B::min, &B::setMin>(I::Min, "Min", "Long", "Progressbar Min Value.", 0, 0, {2, 2, 3}),
        property<&B::roundedValue, &B::setRoundedValue>(I::RoundedValue, "RoundedValue", "Long",
                                                        "Progressbar Rounded Corner Value.", 5, 5, {4, 4, 5}),
        property<&B::enabled, &B::setEnabled>(I::Enabled, "Enabled", "Boolean", "Progressbar Enabled/Disabled.",
                                              true, true, {5, 5, 6}),
        property<&B::theme, &B::setTheme>(I::Theme, "Theme", "Long", "Progressbar Styles.", 1, 1, {6, 6, 7}),
        property<&B::textStyle, &B::setTextStyle>(I::TextStyle, "TextStyle", "Long", "Progressbar Text Style.", 3,
                                                  1, {12, 7, 8}),
        property<&B::orientations, &B::setOrientations>(I::Orientations, "Orientations", "Long", "", 1, 1,
                                                        {13, 8, 1}),
        property<&B::textAlignment, &B::setTextAlignment>(I::TextAlignment, "TextAlignment", "Long",
                                                          "Progressbar Text Alignment.", 5, 5, {9, 12, 11}),
        readingName(property<&B::text, &B::setText>(I::Text, "Text", "String", "Progressbar Text.",
                                                    QStringLiteral("Tarn ProgressBar"), QString(), {8, 9, 12})),
        property<&B::textEffectColor, &B::setTextEffectColor>(I::TextEffectColor, "TextEffectColor", "OLE_COLOR",
                                                              "Progressbar Text Effect Color.", white,
                                                              Colour::rgb(200, 200, 200), {11, 10, 13}),
        property<&B::textEffect, &B::setTextEffect>(I::TextEffect, "TextEffect", "Long",
                                                    "Progressbar Text Effect.", 5, 1, {10, 11, 14}),
        property<&B::textForeColor, &B::setTextForeColor>(I::TextForeColor, "TextForeColor", "OLE_COLOR",
                                                          "Progressbar Text Color.", black, black, {7, 14, 10}),
        property<&B::textFont, &B::setTextFont>(I::TextFont, "TextFont", "Font", "Progressbar Text Font.", ambient,
                                                ambient, {14, 13, 9}),
        property<&B::pbsCustomeColor1, &B::setPBSCustomeColor1>(I::PBSCustomeColor1, "PBSCustomeColor1",
                                                                "OLE_COLOR", "Progressbar Style Custome Color 1.",
                                                                std::nullopt, black, {0, 16, 16}),
        property<&B::pbsCustomeColor2, &B::setPBSCustomeColor2>(I::PBSCustomeColor2, "PBSCustomeColor2",
                                                                "OLE_COLOR", "Progressbar Style Custome Color 2.",
                                                                std::nullopt, black, {0, 15, 15}),
    };
}

// How the member list writes a value.
struct ValueText
{
    QString operator()(const PropertyBag::Unreadable &) const { return {}; }
    QString operator()(qint32 value) const { return QString::number(value); }
    QString operator()(bool value) const { return value ? QStringLiteral("True") : QStringLiteral("False"); }
    QString operator()(const QString &value) const { return u'"' + value + u'"'; }
    QString operator()(Colour c) const
    {
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }
    QString operator()(const FontDescription &font) const
    {
        const QString text = font.face + QStringLiteral(", ") + QString::number(font.points);
        return font == FontDescription::ambient() ? QStringLiteral("ambient font (%1)").arg(text) : text;
    }
    QString operator()(const Picture &) const { return QStringLiteral("none"); }
};

// A property created without a value of its own shows the saving default.
QString initialText(const ProgressBarProperty &p)
{
    return std::visit(ValueText{}, p.initial ? *p.initial : p.saved);
}

QString savedText(const ProgressBarProperty &p)
{
    const QString text = std::visit(ValueText{}, p.saved);
    return p.readsName ? text + QStringLiteral(" (read back as the control's name)") : text;
}

MemberDescription method(const char *name, const char *signature)
{
    return {MemberDescription::Method, QString::fromLatin1(name), QString::fromLatin1(signature), {}, {}, {}};
}

} // namespace

const QList<ProgressBarProperty> &ProgressBarMembers::properties()
{
    static const QList<ProgressBarProperty> table = makeProperties();
    return table;
}

const ProgressBarProperty &ProgressBarMembers::property(ProgressBarPropertyId id)
{
    // The table is in the enumeration's order.
    return properties().at(int(id));
}

QList<const ProgressBarProperty *> ProgressBarMembers::inOrder(int ProgressBarProperty::*step)
{
    return inStepOrder(properties(), step);
}

const QList<MemberDescription> &ProgressBarMembers::all()
{
    static const QList<MemberDescription> members = [] {
        QList<MemberDescription> list;
        for (const ProgressBarProperty &p : properties())
            list.append({MemberDescription::Property, QString::fromLatin1(p.name), QString::fromLatin1(p.type),
                         initialText(p), savedText(p), QString::fromLatin1(p.help)});
        list << method("DrawGradientFourColour",
                       "(ObjectHDC, Left, Top, Width, Height, TopLeftColour, TopRightColour, "
                       "BottomLeftColour, BottomRightColour)")
             << method("GradientTwoColour", "(hDC, Direction, StartColor, EndColor, Left, Top, Width, Height)")
             << method("About", "()");
        return list;
    }();
    return members;
}

} // namespace Lumisong
