// Replays fuzz inputs through a fuzz target without libFuzzer, so that the
// ordinary build runs every kept input as a test. Arguments are files or
// folders; without any, the target's regressions and seeds are replayed.

#include "tests/fuzz/fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#pragma weak LLVMFuzzerInitialize

namespace {

QStringList inputFiles(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const QDir dir(path);
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
                files.append(dir.filePath(name));
        } else if (info.exists()) {
            files.append(path);
        } else if (!path.contains(QLatin1String("/regressions/"))) {
            // A surface without findings has no regressions folder; any other
            // path must exist.
            std::fprintf(stderr, "no such input: %s\n", qPrintable(path));
            files.append(path);
        }
    }
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths.append(QString::fromLocal8Bit(argv[i]));
    if (paths.isEmpty())
        paths = QString::fromUtf8(LUMISONG_FUZZ_INPUTS).split(QLatin1Char(':'));

    const QStringList files = inputFiles(paths);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray input = file.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(path));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()),
                               size_t(input.size()));
    }
    std::printf("replayed %lld inputs\n", static_cast<long long>(files.size()));
    return 0;
}
