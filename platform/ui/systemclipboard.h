#pragma once

#include "platform/ui/clipboard.h"

namespace Lumisong {

// The desktop's clipboard (QGuiApplication::clipboard()); needs a GUI application.
class SystemClipboard final : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;
};

} // namespace Lumisong
