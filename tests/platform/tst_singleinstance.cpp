#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/singleinstance.h"

using namespace Lumisong;

// Run as "tst_singleinstance --hold-lock FOLDER", the executable takes the lock,
// says so on standard output and waits to be killed.
static int holdLock(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SingleInstance instance(QStringLiteral("Lumisong"), QString::fromLocal8Bit(argv[2]));
    if (!instance.tryLock())
        return 1;
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondHolderIsRefused();
    void releasedWhenHolderEnds();
    void lockOfKilledProcessIsTakenOver();
    void liveProcessKeepsItsLock();
    void unusableFolderIsNotAnotherRun();

private:
    QProcess *startHolder(const QString &folder);
};

void tst_SingleInstance::secondHolderIsRefused()
{
    QTemporaryDir dir;
    SingleInstance first(QStringLiteral("Lumisong"), dir.path());
    SingleInstance second(QStringLiteral("Lumisong"), dir.path());
    QVERIFY(first.tryLock());
    QVERIFY(first.tryLock()); // asking again keeps it
    QVERIFY(!second.tryLock());
    QVERIFY(!second.isLocked());
    QVERIFY(second.heldElsewhere());
    QCOMPARE(first.lockFilePath(), dir.filePath(QStringLiteral("Lumisong.lock")));
}

void tst_SingleInstance::releasedWhenHolderEnds()
{
    QTemporaryDir dir;
    {
        SingleInstance first(QStringLiteral("Lumisong"), dir.path());
        QVERIFY(first.tryLock());
    }
    SingleInstance next(QStringLiteral("Lumisong"), dir.path());
    QVERIFY(next.tryLock());
}

QProcess *tst_SingleInstance::startHolder(const QString &folder)
{
    auto *holder = new QProcess(this);
    holder->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), folder});
    if (!holder->waitForStarted(10000))
        return nullptr;
    if (!holder->waitForReadyRead(10000) || !holder->readAll().startsWith("locked"))
        return nullptr;
    return holder;
}

void tst_SingleInstance::lockOfKilledProcessIsTakenOver()
{
    QTemporaryDir dir;
    QProcess *holder = startHolder(dir.path());
    QVERIFY(holder);
    // SIGKILL: the holder gets no chance to remove its lock file.
    ::kill(pid_t(holder->processId()), SIGKILL);
    QVERIFY(holder->waitForFinished(10000));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Lumisong.lock"))));

    SingleInstance next(QStringLiteral("Lumisong"), dir.path());
    QVERIFY(next.tryLock());
}

void tst_SingleInstance::liveProcessKeepsItsLock()
{
    QTemporaryDir dir;
    QProcess *holder = startHolder(dir.path());
    QVERIFY(holder);
    SingleInstance other(QStringLiteral("Lumisong"), dir.path());
    QVERIFY(!other.tryLock());
    QVERIFY(other.heldElsewhere());
    holder->kill();
    QVERIFY(holder->waitForFinished(10000));
}

void tst_SingleInstance::unusableFolderIsNotAnotherRun()
{
    QTemporaryDir dir;
    SingleInstance lock(QStringLiteral("Lumisong"), dir.filePath(QStringLiteral("missing/folder")));
    QVERIFY(!lock.tryLock());
    QVERIFY(!lock.heldElsewhere());
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argc, argv);
    QCoreApplication app(argc, argv);
    tst_SingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
