#pragma once

#include <QString>

namespace Lumisong::Test {

// Loopback ports for servers the tests start as child processes.
class Ports
{
public:
    // A port that was free on both 127.0.0.1 and ::1 a moment ago; 0 when none
    // could be had.
    static quint16 freePort();
    // Tries to connect to host:port until it accepts or timeoutMs passes.
    static bool waitForAccept(const QString &host, quint16 port, int timeoutMs = 5000);
};

} // namespace Lumisong::Test
