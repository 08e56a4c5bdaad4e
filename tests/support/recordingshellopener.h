#pragma once

#include "platform/ui/shellopener.h"

#include <QList>
#include <QUrl>

namespace Lumisong {

// Test double: records the addresses that passed the web-address check. With
// no browser, it opens nothing and says so, as a desktop without one does.
class RecordingShellOpener final : public ShellOpener
{
public:
    const QList<QUrl> &opened() const;
    void setNoBrowser(bool none) { m_noBrowser = none; }

protected:
    bool openWebAddress(const QUrl &url) override;

private:
    QList<QUrl> m_opened;
    bool m_noBrowser = false;
};

} // namespace Lumisong
