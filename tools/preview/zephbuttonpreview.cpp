#include "tools/preview/zephbuttonpreview.h"

#include "controls/button/buttonenums.h"
#include "controls/button/buttonmembers.h"
#include "tools/preview/previewimage.h"

namespace Lumisong {

ZephButtonPreview::ZephButtonPreview(QSize size)
    : m_size(size)
{
    m_button.setObjectName(QStringLiteral("zephbutton1"));
    zephbutton::Ambient ambient;
    ambient.displayName = QStringLiteral("zephbutton1");
    ambient.userMode = true;
    m_button.setAmbient(ambient);
    m_button.resize(size);
}

void ZephButtonPreview::create()
{
    m_button.InitProperties();
}

void ZephButtonPreview::readProperties(const PropertyBag &bag)
{
    m_button.ReadProperties(bag);
    // The preview draws at the size asked for, even below the button's minimum.
    m_button.resize(m_size);
    m_button.Redraw();
}

QImage ZephButtonPreview::render() const
{
    return PreviewImage::withinShape(m_button.surface());
}

QList<MemberDescription> ZephButtonPreview::members() const
{
    return ButtonMembers::all();
}

bool ZephButtonPreview::setThemesAvailable(bool available, QString *)
{
    ButtonRuntime runtime = m_button.runtime();
    runtime.themed = available;
    m_button.setRuntime(runtime);
    return true;
}

bool ZephButtonPreview::applyRunState(const RunState &state, QString *)
{
    ButtonRuntime runtime = m_button.runtime();
    if (state.state)
        runtime.state = *state.state;
    runtime.hasFocus = state.focus;
    runtime.isDefault = state.isDefault;
    runtime.parentActive = state.active;
    runtime.mouseOver = state.over;
    m_button.setRuntime(runtime);
    m_button.Redraw();
    return true;
}

} // namespace Lumisong
