#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/support/serverprocess.h"

namespace Lumisong::Test {

// tinyproxy in the foreground with its configuration and log in a folder of
// its own: listens on 127.0.0.1 only, lets only 127.0.0.1 in, asks for Basic
// credentials, and tunnels (CONNECT) only to the given port.
class TinyproxyRunner
{
public:
    TinyproxyRunner() = default;
    TinyproxyRunner(const TinyproxyRunner &) = delete;
    TinyproxyRunner &operator=(const TinyproxyRunner &) = delete;

    bool start(const QString &user, const QString &password, quint16 connectPort, QString *error);
    void stop();
    quint16 port() const { return m_port; }

    // The request lines the proxy took so far: "GET http://host:port/ HTTP/1.1",
    // "CONNECT host:port HTTP/1.1".
    QStringList requests() const;

private:
    QTemporaryDir m_dir;
    quint16 m_port = 0;
    ServerProcess m_process;
};

} // namespace Lumisong::Test
