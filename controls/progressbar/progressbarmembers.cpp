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

// A row of the table, reached through the bar's typed accessors.
template <auto Get, auto Set>
ProgressBarProperty property(ProgressBarProperty p)
{
    using T = typename SetterArgument<decltype(Set)>::type;
    p.get = [](const ProgressBar &bar) { return Value(T((bar.*Get)())); };
    p.set = [](ProgressBar &bar, const Value &value) { (bar.*Set)(std::get<T>(value)); };
    return p;
}

QList<ProgressBarProperty> makeProperties()
{
    using B = ProgressBar;
    using I = ProgressBarPropertyId;
    const Value white = Colour::rgb(255, 255, 255);
    const Value black = Colour::rgb(0, 0, 0);
    const Value ambient = FontDescription::ambient();
#define LUMISONG_ROW(ApiType, field, getter, Name, ...) \
    property<&B::getter, &B::set##Name>({.id = I::Name, .name = #Name, __VA_ARGS__}),
    return {LUMISONG_PROGRESSBAR_PROPERTIES(LUMISONG_ROW, LUMISONG_ROW)};
#undef LUMISONG_ROW
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
