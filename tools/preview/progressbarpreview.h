#pragma once

#include <QSize>

#include "controls/progressbar/progressbar.h"
#include "tools/preview/previewcontrol.h"

namespace Lumisong {

// The progress bar in the preview tool, named as the first bar placed on a form.
class ProgressBarPreview final : public PreviewControl
{
public:
    explicit ProgressBarPreview(QSize size);

    QWidget *widget() override { return &m_bar; }
    void create() override;
    void readProperties(const PropertyBag &bag) override;
    QImage render() const override;
    QList<MemberDescription> members() const override;

private:
    ProgressBar m_bar;
};

} // namespace Lumisong
