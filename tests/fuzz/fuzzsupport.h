#pragma once

// What every fuzz program shares: the libFuzzer entry points, the way a
// finding is reported, and an offscreen application for targets that build
// widgets.

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" {
// Runs one input; a finding aborts the program after saying what went wrong.
int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
// Optional, once before the first input.
int LLVMFuzzerInitialize(int *argc, char ***argv);
}

namespace Lumisong::Fuzz {

// Prints "fuzz finding: <what>" to standard error and aborts, which libFuzzer
// reports as a crash with the input that caused it.
[[noreturn]] void fail(const QString &what);

inline void check(bool condition, const QString &what)
{
    if (!condition)
        fail(what);
}

// A QApplication on the offscreen platform, made once for the whole run. Qt's
// debug and warning messages are dropped (hostile input makes many, and
// writing them slows the fuzzer down); critical and fatal ones still print.
void ensureOffscreenApplication();

// What the program's event loop would do between two inputs: deferred
// deletions, and the timers that trim Qt's font and style caches.
void runPendingEvents();

// A folder, made once, with pictures inputs can name by relative path:
// "a.png" (with alpha), "b.bmp" (keyed by MaskColor), "c.ico".
QString pictureFolder();

} // namespace Lumisong::Fuzz
