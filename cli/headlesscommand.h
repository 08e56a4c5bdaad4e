#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdio>

namespace Lumisong {

// One headless command (a listing, an export, a hand-off, a version check):
// an object that starts its requests and goes on from their signals, so that
// the application's one event loop drives every wait. Started once from that
// loop, it ends with finished(), which may come inside start() when there is
// nothing to wait for.
class HeadlessCommand : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeadlessCommand)

public:
    static constexpr int FailureExitCode = 2;
    // Standard output could not take what a command printed.
    static constexpr int OutputFailedExitCode = 3;

    ~HeadlessCommand() override;

    virtual void start() = 0;

signals:
    // The process's exit status.
    void finished(int exitStatus);

protected:
    explicit HeadlessCommand(QObject *parent = nullptr) : QObject(parent) {}

    // `text` and a line end, UTF-8, flushed at once so that the two streams
    // interleave as they were written.
    static void say(std::FILE *stream, const QString &text);
    // "lumisong: MESSAGE" on `stream`; returns FailureExitCode.
    static int complain(std::FILE *stream, const QString &message);
    // Writes `bytes` whole to `out` and flushes it; `fallback` on success,
    // else a note on `err` and OutputFailedExitCode.
    static int print(std::FILE *out, const QByteArray &bytes, std::FILE *err, int fallback);
};

} // namespace Lumisong
