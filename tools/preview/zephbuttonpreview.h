#pragma once

#include <QSize>

#include "controls/button/zephbutton.h"
#include "tools/preview/previewcontrol.h"

namespace Lumisong {

// The skinned button in the preview tool, named as the first button placed on
// a form and drawn as on a running form.
class ZephButtonPreview final : public PreviewControl
{
public:
    explicit ZephButtonPreview(QSize size);

    QWidget *widget() override { return &m_button; }
    void create() override;
    void readProperties(const PropertyBag &bag) override;
    QImage render() const override;
    QList<MemberDescription> members() const override;
    bool setThemesAvailable(bool available, QString *error) override;
    bool applyRunState(const RunState &state, QString *error) override;

private:
    zephbutton m_button;
    QSize m_size;
};

} // namespace Lumisong
