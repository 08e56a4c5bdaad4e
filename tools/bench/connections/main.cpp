// lumisong-bench-connections [runs] [--full]: times the whole `lumisong --export
// FILE --all` against the demo site in this process, side by side:
//   loopback      - 1000 songs, no delays: the default (4 at a time over kept-alive
//                   connections) against one connection per request, one by one
//                   (--connections 1 with a site that closes every connection);
//   distant site  - 1000 songs, --connect-delay 50 --latency 50: the same two; one
//                   connection per request is measured on 200 songs and scaled to
//                   1000 (it takes over a minute), or on all 1000 with --full;
//   outside check - the distant site with 200 songs: the default against one
//                   connection per request, the connections open at once, and
//                   the same bytes from both.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "tools/bench/benchfigures.h"
#include "tools/bench/programrun.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using Policy = DemoSite::ConnectionPolicy;

namespace {

struct Site
{
    int songs;
    int connectDelayMs;
    int latencyMs;
};

struct Export
{
    double ms = -1; // -1: the export failed
    int mostOpen = 0;
    QByteArray bytes;
};

// One whole export, on a new demo site.
Export exportOnce(const Site &setting, bool oneConnectionPerRequest)
{
    DemoSite site(setting.songs);
    site.setConnectDelay(setting.connectDelayMs);
    site.setLatency(setting.latencyMs);
    if (oneConnectionPerRequest)
        site.setConnectionPolicy(Policy::CloseAfterAnswer);
    if (!site.listen())
        return {};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.lst"));
    QStringList args{QStringLiteral("--site"), site.baseUrl(), QStringLiteral("--export"), path,
                     QStringLiteral("--all")};
    if (oneConnectionPerRequest)
        args << QStringLiteral("--connections") << QStringLiteral("1");

    const double ms = Bench::timeProgram(QStringLiteral(LUMISONG_BINARY), args, 300000);
    if (ms < 0)
        return {};
    QFile file(path);
    Export result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Each export has a site of its own: compare the addresses without its port.
    result.bytes = file.readAll().replace(site.baseUrl().toLatin1(), "<site>");
    if (result.bytes.count('\n') != setting.songs + 1)
        return result;
    result.ms = ms;
    result.mostOpen = site.mostConnectionsOpen();
    return result;
}

QList<double> times(const Site &setting, bool oneConnectionPerRequest, int runs, int *mostOpen)
{
    QList<double> ms;
    for (int run = 0; run < runs; ++run) {
        const Export result = exportOnce(setting, oneConnectionPerRequest);
        if (result.ms < 0) {
            std::fprintf(stderr, "an export did not write the whole list\n");
            std::exit(1);
        }
        ms << result.ms;
        if (mostOpen)
            *mostOpen = std::max(*mostOpen, result.mostOpen);
    }
    return ms;
}

double maxOf(const QList<double> &ms)
{
    return *std::max_element(ms.begin(), ms.end());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool full = args.contains(QStringLiteral("--full"));
    const int runs = std::max(args.size() > 1 && !args.at(1).startsWith(u'-') ? args.at(1).toInt() : 5, 1);

    std::printf("lumisong-bench-connections: the whole `lumisong --export FILE --all`, "
                "1000 ticked songs\n\n");

    const Site loopback{1000, 0, 0};
    int mostOpen = 0;
    const QList<double> keptLoop = times(loopback, false, runs, &mostOpen);
    const QList<double> oneLoop = times(loopback, true, runs, nullptr);
    std::printf("loopback, no delays (%d runs)\n", runs);
    std::printf("  4 at a time, kept alive (default)      median %8.1f ms   max %8.1f ms   "
                "(target: at most 150 ms); most connections open: %d\n",
                Bench::median(keptLoop), maxOf(keptLoop), mostOpen);
    std::printf("  one connection per request, one by one median %8.1f ms   max %8.1f ms\n\n",
                Bench::median(oneLoop), maxOf(oneLoop));

    const Site distant{1000, 50, 50};
    mostOpen = 0;
    const double keptDistant = times(distant, false, 1, &mostOpen).first();
    const Site sample{full ? 1000 : 200, 50, 50};
    const double oneSample = times(sample, true, 1, nullptr).first();
    const double oneDistant = oneSample * 1000.0 / sample.songs;
    std::printf("distant site: --connect-delay 50 --latency 50 (one run each)\n");
    std::printf("  4 at a time, kept alive (default)      %8.2f s   (target: at most 14 s); "
                "most connections open: %d\n",
                keptDistant / 1000, mostOpen);
    std::printf("  one connection per request, one by one %8.2f s   (%s)\n", oneDistant / 1000,
                full ? "measured" : "measured on 200 songs, times 5");
    std::printf("  speed-up                               %8.1f x   (target: at least 7 x)\n\n",
                oneDistant / keptDistant);

    const Site check{200, 50, 50};
    const Export kept = exportOnce(check, false);
    const Export one = exportOnce(check, true);
    if (kept.ms < 0 || one.ms < 0) {
        std::fprintf(stderr, "an export did not write the whole list\n");
        return 1;
    }
    std::printf("outside check: distant site, 200 songs\n");
    std::printf("  defaults %.2f s, one connection per request %.2f s: %.1f x faster "
                "(target: at least 5 x)\n",
                kept.ms / 1000, one.ms / 1000, one.ms / kept.ms);
    std::printf("  most connections open at once: %d (at most 4); same bytes as "
                "--connections 1: %s\n",
                kept.mostOpen, kept.bytes == one.bytes ? "yes" : "NO");
    return kept.bytes == one.bytes ? 0 : 1;
}
