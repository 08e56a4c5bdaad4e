#pragma once

#include <QTimer>

namespace Lumisong::Test {

// For its scope, watches the running test: once a check of it has failed,
// every modal dialog still open is rejected, so that the nested event loop
// of the code under test returns and the test ends at once instead of
// waiting out ctest's timeout with the dialog on screen.
class ModalWatchdog
{
public:
    ModalWatchdog();
    ModalWatchdog(const ModalWatchdog &) = delete;
    ModalWatchdog &operator=(const ModalWatchdog &) = delete;

private:
    QTimer m_timer;
};

} // namespace Lumisong::Test
