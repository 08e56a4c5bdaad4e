#pragma once

#include "platform/ui/shellopener.h"

namespace Lumisong {

// ShellOpener over QDesktopServices::openUrl (the desktop's default browser).
class DesktopShellOpener final : public ShellOpener
{
protected:
    bool openWebAddress(const QUrl &url) override;
};

} // namespace Lumisong
