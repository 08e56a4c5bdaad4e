#include "tests/support/serverprocess.h"

#include <QStandardPaths>

#include "tests/support/ports.h"

namespace Lumisong::Test {

ServerProcess::~ServerProcess()
{
    stop();
}

QString ServerProcess::findProgram(const QString &name)
{
    const QString inPath = QStandardPaths::findExecutable(name);
    if (!inPath.isEmpty())
        return inPath;
    return QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
               QStringLiteral("/usr/local/sbin")});
}

bool ServerProcess::start(const QString &name, const QStringList &args, const QString &host,
                          quint16 port, QString *error)
{
    const QString program = findProgram(name);
    if (program.isEmpty()) {
        *error = QStringLiteral("%1 is not installed (scripts/install-deps.sh installs it)")
                     .arg(name);
        return false;
    }
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, args);
    if (!m_process.waitForStarted(5000)) {
        *error = QStringLiteral("%1 did not start: %2").arg(name, m_process.errorString());
        return false;
    }
    if (!Ports::waitForAccept(host, port)) {
        m_process.waitForFinished(200);
        *error = QStringLiteral("%1 does not accept on %2 port %3: %4")
                     .arg(name, host)
                     .arg(port)
                     .arg(QString::fromLocal8Bit(m_process.readAll()));
        stop();
        return false;
    }
    return true;
}

void ServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool ServerProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

} // namespace Lumisong::Test
