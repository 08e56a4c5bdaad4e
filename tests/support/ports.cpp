#include "tests/support/ports.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace Lumisong::Test {

quint16 Ports::freePort()
{
    // A child server binds both families on the port, so both must be free.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTcpServer v4;
        if (!v4.listen(QHostAddress::LocalHost, 0))
            return 0;
        QTcpServer v6;
        if (v6.listen(QHostAddress::LocalHostIPv6, v4.serverPort()))
            return v4.serverPort();
    }
    return 0;
}

bool Ports::waitForAccept(const QString &host, quint16 port, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(host, port);
        if (socket.waitForConnected(200)) {
            socket.disconnectFromHost();
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

} // namespace Lumisong::Test
