#include "tools/preview/progressbarpreview.h"

#include "controls/progressbar/progressbarmembers.h"
#include "tools/preview/previewimage.h"

namespace Lumisong {

ProgressBarPreview::ProgressBarPreview(QSize size)
{
    m_bar.setObjectName(QStringLiteral("ProgressBar1"));
    m_bar.resize(size);
}

void ProgressBarPreview::create()
{
    m_bar.UserControl_InitProperties();
}

void ProgressBarPreview::readProperties(const PropertyBag &bag)
{
    m_bar.UserControl_ReadProperties(bag);
}

QImage ProgressBarPreview::render() const
{
    return PreviewImage::withinShape(m_bar.surface());
}

QList<MemberDescription> ProgressBarPreview::members() const
{
    return ProgressBarMembers::all();
}

} // namespace Lumisong
