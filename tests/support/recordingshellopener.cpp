#include "tests/support/recordingshellopener.h"

namespace Lumisong {

const QList<QUrl> &RecordingShellOpener::opened() const
{
    return m_opened;
}

bool RecordingShellOpener::openWebAddress(const QUrl &url)
{
    if (m_noBrowser)
        return false;
    m_opened << url;
    return true;
}

} // namespace Lumisong
