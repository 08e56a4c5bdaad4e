#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace Lumisong::Test {

// A server program run in the foreground as a child process, stopped when this
// object ends. A program that is missing or does not come up is an error with
// its reason: the tests fail, they never skip.
class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    // The program's path, looked for in PATH and the sbin folders (nginx lives
    // there, outside a user's PATH); empty when missing.
    static QString findProgram(const QString &name);

    // Starts `name` and waits until host:port accepts. False, with *error set
    // (the program's own output included), when it cannot.
    bool start(const QString &name, const QStringList &args, const QString &host, quint16 port,
               QString *error);
    void stop();
    bool isRunning() const;

private:
    QProcess m_process;
};

} // namespace Lumisong::Test
