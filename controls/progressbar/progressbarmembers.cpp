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
ProgressBarProperty property(const char *name, const char *type, const char *initialText,
                             const char *savedText, const char *help, std::optional<Value> initial,
                             Value saved, Steps steps)
{
    using T = typename SetterArgument<decltype(Set)>::type;
    ProgressBarProperty p{name, type, initialText, savedText, help, std::move(initial), std::move(saved)};
    p.initOrder = steps.init;
    p.readOrder = steps.read;
    p.writeOrder = steps.write;
    p.get = [](const ProgressBar &bar) { return Value(T((bar.*Get)())); };
    p.set = [](ProgressBar &bar, const Value &value) { (bar.*Set)(std::get<T>(value)); };
    return p;
}

QList<ProgressBarProperty> makeProperties()
{
    using B = ProgressBar;
    const Value white = Colour::rgb(255, 255, 255);
    const Value black = Colour::rgb(0, 0, 0);
    const Value ambient = FontDescription::ambient();
    QList<ProgressBarProperty> all{
        property<&B::value, &B::setValue>("Value", "Long", "50", "50", "Progressbar Value.", 50, 50,
                                          {3, 3, 4}),
        property<&B::max, &B::setMax>("Max", "Long", "100", "100", "Progressbar Max Value.", 100, 100,
                                      {1, 1, 2}),
        property<&B::min, &B::setMin>("Min", "Long", "0", "0", "Progressbar Min Value.", 0, 0, {2, 2, 3}),
        property<&B::roundedValue, &B::setRoundedValue>("RoundedValue", "Long", "5", "5",
                                                        "Progressbar Rounded Corner Value.", 5, 5,
                                                        {4, 4, 5}),
        property<&B::enabled, &B::setEnabled>("Enabled", "Boolean", "True", "True",
                                              "Progressbar Enabled/Disabled.", true, true, {5, 5, 6}),
        property<&B::theme, &B::setTheme>("Theme", "Long", "1", "1", "Progressbar Styles.", 1, 1, {6, 6, 7}),
        property<&B::textStyle, &B::setTextStyle>("TextStyle", "Long", "3", "1", "Progressbar Text Style.", 3,
                                                  1, {12, 7, 8}),
        property<&B::orientations, &B::setOrientations>("Orientations", "Long", "1", "1", "", 1, 1,
                                                        {13, 8, 1}),
        property<&B::textAlignment, &B::setTextAlignment>("TextAlignment", "Long", "5", "5",
                                                          "Progressbar Text Alignment.", 5, 5, {9, 12, 11}),
        // Saved against the empty text but read back against the control's name:
        // an empty Text comes back as the name, and a Text equal to the name is saved.
        property<&B::text, &B::setText>("Text", "String", "\"Tarn ProgressBar\"",
                                        "\"\" (read back as the control's name)", "Progressbar Text.",
                                        QStringLiteral("Tarn ProgressBar"), QString(), {8, 9, 12}),
        property<&B::textEffectColor, &B::setTextEffectColor>(
            "TextEffectColor", "OLE_COLOR", "rgb(255, 255, 255)", "rgb(200, 200, 200)",
            "Progressbar Text Effect Color.", white, Colour::rgb(200, 200, 200), {11, 10, 13}),
        property<&B::textEffect, &B::setTextEffect>("TextEffect", "Long", "5", "1", "Progressbar Text Effect.",
                                                    5, 1, {10, 11, 14}),
        property<&B::textForeColor, &B::setTextForeColor>("TextForeColor", "OLE_COLOR", "rgb(0, 0, 0)",
                                                          "rgb(0, 0, 0)", "Progressbar Text Color.", black,
                                                          black, {7, 14, 10}),
        property<&B::textFont, &B::setTextFont>("TextFont", "Font", "ambient font (宋体, 9)",
                                                "ambient font (宋体, 9)", "Progressbar Text Font.", ambient,
                                                ambient, {14, 13, 9}),
        property<&B::pbsCustomeColor1, &B::setPBSCustomeColor1>(
            "PBSCustomeColor1", "OLE_COLOR", "rgb(0, 0, 0)", "rgb(0, 0, 0)",
            "Progressbar Style Custome Color 1.", std::nullopt, black, {0, 16, 16}),
        property<&B::pbsCustomeColor2, &B::setPBSCustomeColor2>(
            "PBSCustomeColor2", "OLE_COLOR", "rgb(0, 0, 0)", "rgb(0, 0, 0)",
            "Progressbar Style Custome Color 2.", std::nullopt, black, {0, 15, 15}),
    };
    all[9].readsName = true;
    return all;
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
                         QString::fromUtf8(p.initialText), QString::fromUtf8(p.savedText),
                         QString::fromLatin1(p.help)});
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
