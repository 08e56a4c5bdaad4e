#include "controls/progressbar/progressbarmembers.h"

namespace Lumisong {

namespace {

MemberDescription property(const char *name, const char *type, const char *initial,
                           const char *saved, const char *help)
{
    return {MemberDescription::Property, QString::fromLatin1(name), QString::fromLatin1(type),
            QString::fromUtf8(initial), QString::fromUtf8(saved), QString::fromLatin1(help)};
}

MemberDescription method(const char *name, const char *signature)
{
    return {MemberDescription::Method, QString::fromLatin1(name), QString::fromLatin1(signature),
            {}, {}, {}};
}

} // namespace

const QList<MemberDescription> &ProgressBarMembers::all()
{
    static const QList<MemberDescription> members = {
        property("Value", "Long", "50", "50", "Progressbar Value."),
        property("Max", "Long", "100", "100", "Progressbar Max Value."),
        property("Min", "Long", "0", "0", "Progressbar Min Value."),
        property("RoundedValue", "Long", "5", "5", "Progressbar Rounded Corner Value."),
        property("Enabled", "Boolean", "True", "True", "Progressbar Enabled/Disabled."),
        property("Theme", "Long", "1", "1", "Progressbar Styles."),
        property("TextStyle", "Long", "3", "1", "Progressbar Text Style."),
        property("Orientations", "Long", "1", "1", ""),
        property("TextAlignment", "Long", "5", "5", "Progressbar Text Alignment."),
        property("Text", "String", "\"Tarn ProgressBar\"", "\"\" (read back as the control's name)",
                 "Progressbar Text."),
        property("TextEffectColor", "OLE_COLOR", "rgb(255, 255, 255)", "rgb(200, 200, 200)",
                 "Progressbar Text Effect Color."),
        property("TextEffect", "Long", "5", "1", "Progressbar Text Effect."),
        property("TextForeColor", "OLE_COLOR", "rgb(0, 0, 0)", "rgb(0, 0, 0)", "Progressbar Text Color."),
        property("TextFont", "Font", "ambient font (宋体, 9)", "ambient font (宋体, 9)",
                 "Progressbar Text Font."),
        property("PBSCustomeColor1", "OLE_COLOR", "rgb(0, 0, 0)", "rgb(0, 0, 0)",
                 "Progressbar Style Custome Color 1."),
        property("PBSCustomeColor2", "OLE_COLOR", "rgb(0, 0, 0)", "rgb(0, 0, 0)",
                 "Progressbar Style Custome Color 2."),
        method("DrawGradientFourColour",
               "(ObjectHDC, Left, Top, Width, Height, TopLeftColour, TopRightColour, "
               "BottomLeftColour, BottomRightColour)"),
        method("GradientTwoColour", "(hDC, Direction, StartColor, EndColor, Left, Top, Width, Height)"),
        method("About", "()"),
    };
    return members;
}

} // namespace Lumisong
