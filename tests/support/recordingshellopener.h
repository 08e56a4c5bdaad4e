#pragma once

#include "platform/ui/shellopener.h"

#include <QList>
#include <QUrl>

namespace Lumisong {

// Test double: records the addresses that passed the web-address check.
class RecordingShellOpener final : public ShellOpener
{
public:
    const QList<QUrl> &opened() const;

protected:
    bool openWebAddress(const QUrl &url) override;

private:
    QList<QUrl> m_opened;
};

} // namespace Lumisong
