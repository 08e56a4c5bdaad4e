#include "tests/support/tinyproxyrunner.h"

#include <QFile>

#include "tests/support/ports.h"

namespace Lumisong::Test {

bool TinyproxyRunner::start(const QString &user, const QString &password, quint16 connectPort,
                            QString *error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder for tinyproxy");
        return false;
    }
    m_port = Ports::freePort();
    const QByteArray config = "Port " + QByteArray::number(m_port) + "\n"
        "Listen 127.0.0.1\n"
        "Timeout 30\n"
        "MaxClients 64\n"
        "LogFile \"" + m_dir.filePath(QStringLiteral("tinyproxy.log")).toUtf8() + "\"\n"
        "LogLevel Info\n"
        "Allow 127.0.0.1\n"
        "BasicAuth " + user.toUtf8() + ' ' + password.toUtf8() + "\n"
        "ConnectPort " + QByteArray::number(connectPort) + "\n";
    QFile file(m_dir.filePath(QStringLiteral("tinyproxy.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        *error = QStringLiteral("cannot write %1").arg(file.fileName());
        return false;
    }
    file.close();
    // -d: in the foreground, so it ends with this object.
    return m_process.start(QStringLiteral("tinyproxy"),
                           {QStringLiteral("-d"), QStringLiteral("-c"), file.fileName()},
                           QStringLiteral("127.0.0.1"), m_port, error);
}

void TinyproxyRunner::stop()
{
    m_process.stop();
}

QStringList TinyproxyRunner::requests() const
{
    QFile file(m_dir.filePath(QStringLiteral("tinyproxy.log")));
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    static const QByteArray Marker = "): ";
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype at = line.indexOf("Request (file descriptor");
        if (at >= 0)
            lines << QString::fromLatin1(line.mid(line.indexOf(Marker, at) + Marker.size()));
    }
    return lines;
}

} // namespace Lumisong::Test
