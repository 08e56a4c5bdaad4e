#include "platform/systemcolours.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace Lumisong {

namespace {

constexpr int TableSize = 31;

// Standard values; index 25 is unused by the platform.
constexpr std::array<quint32, TableSize> StandardTable = {
    Colour::rgb(200, 200, 200).value(), // scroll bar
    Colour::rgb(0, 0, 0).value(),       // desktop
    Colour::rgb(153, 180, 209).value(), // active caption
    Colour::rgb(191, 205, 219).value(), // inactive caption
    Colour::rgb(240, 240, 240).value(), // menu
    Colour::rgb(255, 255, 255).value(), // window
    Colour::rgb(100, 100, 100).value(), // window frame
    Colour::rgb(0, 0, 0).value(),       // menu text
    Colour::rgb(0, 0, 0).value(),       // window text
    Colour::rgb(0, 0, 0).value(),       // caption text
    Colour::rgb(180, 180, 180).value(), // active border
    Colour::rgb(244, 247, 252).value(), // inactive border
    Colour::rgb(171, 171, 171).value(), // application workspace
    Colour::rgb(0, 120, 215).value(),   // highlight
    Colour::rgb(255, 255, 255).value(), // highlight text
    Colour::rgb(240, 240, 240).value(), // button face
    Colour::rgb(160, 160, 160).value(), // 3-D shadow
    Colour::rgb(109, 109, 109).value(), // grey text
    Colour::rgb(0, 0, 0).value(),       // button text
    Colour::rgb(0, 0, 0).value(),       // inactive caption text
    Colour::rgb(255, 255, 255).value(), // 3-D highlight
    Colour::rgb(105, 105, 105).value(), // 3-D dark shadow
    Colour::rgb(227, 227, 227).value(), // 3-D light
    Colour::rgb(0, 0, 0).value(),       // tooltip text
    Colour::rgb(255, 255, 225).value(), // tooltip background
    Colour::Invalid,                    // unused
    Colour::rgb(0, 102, 204).value(),   // hot light
    Colour::rgb(185, 209, 234).value(), // gradient active caption
    Colour::rgb(215, 228, 242).value(), // gradient inactive caption
    Colour::rgb(0, 120, 215).value(),   // menu highlight
    Colour::rgb(240, 240, 240).value(), // menu bar
};

struct Pinning
{
    bool pinned = false;
    QHash<int, Colour> table;
};

Pinning &pinning()
{
    static Pinning instance;
    return instance;
}

Colour fromQColor(const QColor &colour)
{
    return Colour::rgb(colour.red(), colour.green(), colour.blue());
}

// Follows the application palette the way the platform's own mapping does.
std::optional<Colour> fromPalette(const QPalette &palette, int index)
{
    switch (index) {
    case SystemColours::Window:
        return fromQColor(palette.color(QPalette::Base));
    case SystemColours::WindowText:
    case SystemColours::MenuText:
        return fromQColor(palette.color(QPalette::WindowText));
    case SystemColours::Highlight:
    case SystemColours::MenuHighlight:
        return fromQColor(palette.color(QPalette::Highlight));
    case SystemColours::HighlightText:
        return fromQColor(palette.color(QPalette::HighlightedText));
    case SystemColours::ButtonFace:
    case SystemColours::Menu:
    case SystemColours::MenuBar:
        return fromQColor(palette.color(QPalette::Button));
    case SystemColours::ButtonText:
        return fromQColor(palette.color(QPalette::ButtonText));
    case SystemColours::GrayText:
        return fromQColor(palette.color(QPalette::Disabled, QPalette::Text));
    case SystemColours::ButtonShadow:
        return fromQColor(palette.color(QPalette::Dark));
    case SystemColours::ButtonHighlight:
        return fromQColor(palette.color(QPalette::Light));
    case SystemColours::Light3D:
        return fromQColor(palette.color(QPalette::Midlight));
    case SystemColours::DarkShadow3D:
        return fromQColor(palette.color(QPalette::Shadow));
    case SystemColours::AppWorkspace:
        return fromQColor(palette.color(QPalette::Mid));
    case SystemColours::InfoBackground:
        return fromQColor(palette.color(QPalette::ToolTipBase));
    case SystemColours::InfoText:
        return fromQColor(palette.color(QPalette::ToolTipText));
    case SystemColours::HotLight:
        return fromQColor(palette.color(QPalette::Link));
    default:
        return SystemColours::standard(index);
    }
}

} // namespace

std::optional<Colour> SystemColours::standard(int index)
{
    if (index < 0 || index >= TableSize || StandardTable[size_t(index)] == Colour::Invalid)
        return std::nullopt;
    return Colour(StandardTable[size_t(index)]);
}

std::optional<Colour> SystemColours::lookup(int index)
{
    const Pinning &state = pinning();
    if (state.pinned) {
        const auto found = state.table.constFind(index);
        if (found != state.table.constEnd())
            return *found;
        return standard(index);
    }
    if (!standard(index))
        return std::nullopt;
    // Without an application there is no palette to follow.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return standard(index);
    return fromPalette(QGuiApplication::palette(), index);
}

void SystemColours::pinStandard()
{
    pin({});
}

void SystemColours::pin(const QHash<int, Colour> &table)
{
    pinning().pinned = true;
    pinning().table = table;
}

void SystemColours::unpin()
{
    pinning().pinned = false;
    pinning().table.clear();
}

bool SystemColours::isPinned()
{
    return pinning().pinned;
}

} // namespace Lumisong
