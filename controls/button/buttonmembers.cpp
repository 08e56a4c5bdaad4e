#include "controls/button/buttonmembers.h"

namespace Lumisong {

namespace {

using B = ButtonProperty;
using D = ButtonPropertySpec::Default;
using P = ButtonProperties;

const Colour Mask = Colour::rgb(224, 224, 224);

// In the order of the interface; the saved keys are written in saveOrder.
QList<ButtonPropertySpec> makeProperties()
{
    using R = ButtonPropertySpec::Repaint;
    using E = ButtonPropertySpec::Effect;
#define LUMISONG_VALUE_SPEC(FieldType, ApiType, member, Name, ...) \
    {.id = B::Name, .name = #Name, .field = &P::member, __VA_ARGS__},
#define LUMISONG_PICTURE_SPEC(member, Name, ...) {.id = B::Name, .name = #Name, .field = &P::member, __VA_ARGS__},
#define LUMISONG_OTHER_SPEC(ApiType, accessors, Name, ...) {.id = B::Name, .name = #Name, __VA_ARGS__},
    return {LUMISONG_BUTTON_PROPERTIES(LUMISONG_VALUE_SPEC, LUMISONG_PICTURE_SPEC, LUMISONG_OTHER_SPEC)};
#undef LUMISONG_VALUE_SPEC
#undef LUMISONG_PICTURE_SPEC
#undef LUMISONG_OTHER_SPEC
}

// How --describe writes a value.
struct ValueText
{
    QString operator()(std::monostate) const { return {}; }
    QString operator()(const PropertyBag::Unreadable &) const { return {}; }
    QString operator()(int value) const { return QString::number(value); }
    QString operator()(bool value) const
    {
        return value ? QStringLiteral("True") : QStringLiteral("False");
    }
    QString operator()(const QString &value) const { return value; }
    QString operator()(Colour c) const
    {
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }
    QString operator()(const FontDescription &) const { return {}; }
    QString operator()(const Picture &) const { return QStringLiteral("none"); }
    QString operator()(const ButtonPicturePtr &) const { return QStringLiteral("none"); }
    template <typename M> QString operator()(M P::*field) const
    {
        static const P fresh;
        return operator()(fresh.*field);
    }
};

// A newly placed button's value: the one placed, else the field's own.
QString initialText(const ButtonPropertySpec &p)
{
    if (p.initialNote)
        return QString::fromUtf8(p.initialNote);
    return p.initial ? std::visit(ValueText{}, *p.initial) : std::visit(ValueText{}, p.field);
}

QString savedText(const ButtonPropertySpec &p)
{
    switch (p.from) {
    case D::ButtonFace:
        return QStringLiteral("system button face as RGB");
    case D::ButtonText:
        return QStringLiteral("system button text as RGB");
    case D::InfoBackground:
        return QStringLiteral("system tooltip background as RGB");
    case D::HostFont:
        return QStringLiteral("the host font");
    case D::Given:
        break;
    }
    const QString text = std::visit(ValueText{}, p.saved);
    return p.alwaysSaved ? text + QStringLiteral(" (always saved)") : text;
}

MemberDescription member(MemberDescription::Kind kind, const char *name, const char *signature,
                         const char *help)
{
    return {kind, QString::fromUtf8(name), QString::fromUtf8(signature), {}, {}, QString::fromUtf8(help)};
}

QList<MemberDescription> makeMembers()
{
    using K = MemberDescription;
    QList<MemberDescription> members{
        member(K::Method, "SetPopupMenu", "(Menu, Align, [Flags], [DefaultMenu])", "Sets a dropdown menu to the button."),
        member(K::Method, "UnsetPopupMenu", "()", "Unsets a popupmenu that was previously set for that button."),
        member(K::Method, "OpenWebsite", "(sAddress)", "Opens a website specified by URL"),
        member(K::Method, "About", "()", "Displays information about the control and its author."),
        member(K::Method, "Subclass_WndProc", "(bBefore, bHandled, lReturn, lHwnd, uMsg, wParam, lParam)", ""),
    };
    for (const ButtonPropertySpec &p : ButtonMembers::properties())
        members.append({K::Property, QString::fromUtf8(p.name), QString::fromUtf8(p.type), initialText(p),
                        savedText(p), QString::fromUtf8(p.help)});
    members << member(K::Event, "Click", "()", "Occurs when the user presses and then releases a mouse button over the button.")
            << member(K::Event, "DblClick", "()", "Occurs when the user clicks over the button twice.")
            << member(K::Event, "MouseEnter", "()", "Occrus when the cursor moves around the button for the first time.")
            << member(K::Event, "MouseLeave", "()", "Occurs when the cursor leaves/moves outside the button.")
            << member(K::Event, "MouseMove", "(Button, Shift, X, Y)", "Occurs when the cursor moves over the button.")
            << member(K::Event, "MouseUp", "(Button, Shift, X, Y)", "Occurs when the user releases the mouse button while the button has the focus.")
            << member(K::Event, "MouseDown", "(Button, Shift, X, Y)", "Occurs when the user presses the mouse button while the button has the focus.")
            << member(K::Event, "KeyDown", "(KeyCode, Shift)", "Occurs when the user presses a key while the button has the focus.")
            << member(K::Event, "KeyUp", "(KeyCode, Shift)", "Occurs when the user releases a key while the button has the focus.")
            << member(K::Event, "KeyPress", "(KeyAcsii)", "Occurs when the user presses and releases an ANSI key.");
    return members;
}

} // namespace

const QList<ButtonPropertySpec> &ButtonMembers::properties()
{
    static const QList<ButtonPropertySpec> table = makeProperties();
    return table;
}

const ButtonPropertySpec &ButtonMembers::property(ButtonProperty id)
{
    // The table is in the enumeration's order.
    return properties().at(int(id));
}

QList<const ButtonPropertySpec *> ButtonMembers::inOrder(int ButtonPropertySpec::*step)
{
    return inStepOrder(properties(), step);
}

const QList<MemberDescription> &ButtonMembers::all()
{
    static const QList<MemberDescription> members = makeMembers();
    return members;
}

} // namespace Lumisong
