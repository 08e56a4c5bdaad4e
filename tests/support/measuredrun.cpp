#include "tests/support/measuredrun.h"

#include <atomic>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Lumisong::Test {

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// NUL-terminated strings and the pointer array exec wants, built before fork.
struct CStrings
{
    QList<QByteArray> bytes;
    std::vector<char *> pointers;

    char **data()
    {
        pointers.clear();
        for (QByteArray &item : bytes)
            pointers.push_back(item.data());
        pointers.push_back(nullptr);
        return pointers.data();
    }
};

// Starts the program without copying this process first (the benchmarks time
// it); fork is kept for runs that need a limit set in the child.
pid_t spawn(char **argv, char **envp, const QByteArray &in, const QByteArray &out,
            const QByteArray &err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

MeasuredRun MeasuredRun::run(const QString &program, const QStringList &args, int timeoutMs,
                             const Options &options)
{
    MeasuredRun result;
    QTemporaryDir dir;
    const QByteArray outPath = dir.filePath(QStringLiteral("out")).toLocal8Bit();
    const QByteArray errPath = dir.filePath(QStringLiteral("err")).toLocal8Bit();
    const QByteArray inPath = dir.filePath(QStringLiteral("in")).toLocal8Bit();
    QFile input(QString::fromLocal8Bit(inPath));
    if (!input.open(QIODevice::WriteOnly) || input.write(options.input) != options.input.size())
        return result;
    input.close();
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    CStrings argv{{path.toLocal8Bit()}, {}};
    for (const QString &arg : args)
        argv.bytes << arg.toLocal8Bit();
    const QProcessEnvironment environment = options.environment.isEmpty()
        ? QProcessEnvironment::systemEnvironment() : options.environment;
    CStrings envp;
    for (const QString &entry : environment.toStringList())
        envp.bytes << entry.toLocal8Bit();
    char **argvData = argv.data();
    char **envpData = envp.data();
    const qint64 addressSpaceLimit = options.addressSpaceLimit;

    QElapsedTimer clock;
    clock.start();
    const pid_t pid = addressSpaceLimit > 0 ? ::fork() : spawn(argvData, envpData, inPath, outPath, errPath);
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int in = ::open(inPath.constData(), O_RDONLY);
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (addressSpaceLimit > 0) {
            const rlimit limit{rlim_t(addressSpaceLimit), rlim_t(addressSpaceLimit)};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        ::execve(argvData[0], argvData, envpData);
        ::_exit(127);
    }
    if (pid < 0)
        return result;

    // wait4 blocks, so it waits on a thread of its own while the loop runs here.
    QEventLoop loop;
    int status = 0;
    rusage usage{};
    std::atomic<bool> ended = false;
    std::thread waiter([&] {
        ::wait4(pid, &status, 0, &usage);
        ended = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer::singleShot(timeoutMs, &loop, [&] {
        result.timedOut = true;
        ::kill(pid, SIGKILL);
    });
    while (!ended)
        loop.exec();
    waiter.join();

    result.ms = double(clock.nsecsElapsed()) / 1e6;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.maxRssKb = usage.ru_maxrss;
    result.out = readFile(dir.filePath(QStringLiteral("out")));
    result.err = readFile(dir.filePath(QStringLiteral("err")));
    return result;
}

} // namespace Lumisong::Test
