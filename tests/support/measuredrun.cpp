#include "tests/support/measuredrun.h"

#include <atomic>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
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

} // namespace

MeasuredRun MeasuredRun::run(const QString &program, const QStringList &args, int timeoutMs,
                             qint64 addressSpaceLimit)
{
    MeasuredRun result;
    QTemporaryDir dir;
    const QByteArray outPath = dir.filePath(QStringLiteral("out")).toLocal8Bit();
    const QByteArray errPath = dir.filePath(QStringLiteral("err")).toLocal8Bit();
    QList<QByteArray> argBytes{program.toLocal8Bit()};
    for (const QString &arg : args)
        argBytes << arg.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : argBytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (addressSpaceLimit > 0) {
            const rlimit limit{rlim_t(addressSpaceLimit), rlim_t(addressSpaceLimit)};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        ::execv(argv[0], argv.data());
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
