// lumisong-bench-versuscurl [runs]: the whole `lumisong --export FILE --all
// --connections 4` of 1000 songs from the demo site on loopback, against
// `curl -s -Z --parallel-max 4 -K CONFIG`, where CONFIG asks the same site for
// the same page and the same 1000 song addresses. Both run as whole processes,
// one after the other in every round, so that the machine's load falls on
// both alike; prints the medians of wall and processor time and their ratios
// (target: at most 1.05 x). Processor time is the children's own, so it holds
// up on a loaded machine where wall time does not.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "tools/bench/benchfigures.h"
#include "tools/bench/programrun.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;

namespace {

constexpr int songs = 1000;
constexpr int timeoutMs = 120000;

// Processor time (user and system) of the children ended so far, in ms; its
// growth over one run is that run's own, whatever the machine's load.
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000 + double(t.tv_usec) / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Run
{
    double ms = -1; // wall time; -1: the run failed
    double cpuMs = 0;
};

template <typename Step>
Run timed(Step step)
{
    const double before = childrenCpuMs();
    const double ms = step();
    return {ms, childrenCpuMs() - before};
}

// curl's configuration: every request's answer goes to /dev/null.
bool writeCurlConfig(const DemoSite &site, const QString &path)
{
    QByteArray config;
    const auto request = [&config](const QString &url) {
        config += "url = \"" + url.toUtf8() + "\"\noutput = \"/dev/null\"\n";
    };
    request(site.baseUrl() + u'/');
    for (const DemoCatalogue::Song &song : site.catalogue().songs())
        request(site.baseUrl() + site.addressTarget(song.songId));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(config) == config.size();
}

double exportOnce(const DemoSite &site, const QString &listPath)
{
    QFile::remove(listPath);
    // LUMISONG_BENCH_BINARY: another build of the program, to set before against after.
    static const QString program =
        qEnvironmentVariable("LUMISONG_BENCH_BINARY", QStringLiteral(LUMISONG_BINARY));
    const double ms = Bench::timeProgram(
        program,
        {QStringLiteral("--site"), site.baseUrl(), QStringLiteral("--export"), listPath,
         QStringLiteral("--all"), QStringLiteral("--connections"), QStringLiteral("4")},
        timeoutMs);
    QFile file(listPath);
    if (ms < 0 || !file.open(QIODevice::ReadOnly) || file.readAll().count('\n') != songs + 1)
        return -1;
    return ms;
}

double curlOnce(const QString &configPath)
{
    return Bench::timeProgram(QStringLiteral("curl"),
                              {QStringLiteral("-s"), QStringLiteral("-Z"),
                               QStringLiteral("--parallel-max"), QStringLiteral("4"),
                               QStringLiteral("-K"), configPath},
                              timeoutMs);
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("unknown");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = std::max(args.size() > 1 ? args.at(1).toInt() : 15, 1);

    DemoSite site(songs);
    QTemporaryDir dir;
    const QString configPath = dir.filePath(QStringLiteral("curl.config"));
    const QString listPath = dir.filePath(QStringLiteral("bench.lst"));
    if (!site.listen() || !writeCurlConfig(site, configPath)) {
        std::fprintf(stderr, "the demo site or curl's configuration could not be set up\n");
        return 1;
    }

    std::printf("lumisong-bench-versuscurl: %d songs from the demo site on loopback, "
                "4 connections, %d alternated runs\n", songs, runs);
    std::printf("load average before: %s\n", loadAverage().constData());
    // One of each first, not counted: page cache and the site's first answers.
    exportOnce(site, listPath);
    curlOnce(configPath);
    QList<double> lumisong, curl, lumisongCpu, curlCpu;
    for (int run = 0; run < runs; ++run) {
        const Run ours = timed([&] { return exportOnce(site, listPath); });
        const Run theirs = timed([&] { return curlOnce(configPath); });
        if (ours.ms < 0 || theirs.ms < 0) {
            std::fprintf(stderr, "%s failed\n", ours.ms < 0 ? "the export" : "curl");
            return 1;
        }
        lumisong << ours.ms;
        curl << theirs.ms;
        lumisongCpu << ours.cpuMs;
        curlCpu << theirs.cpuMs;
    }
    const auto best = [](const QList<double> &ms) { return *std::min_element(ms.begin(), ms.end()); };
    const double ourMedian = Bench::median(lumisong);
    const double curlMedian = Bench::median(curl);
    std::printf("                                            wall: median      best   processor: median\n");
    std::printf("  lumisong --export --all --connections 4   %10.1f ms %7.1f ms   %10.1f ms\n",
                ourMedian, best(lumisong), Bench::median(lumisongCpu));
    std::printf("  curl -s -Z --parallel-max 4 -K CONFIG     %10.1f ms %7.1f ms   %10.1f ms\n",
                curlMedian, best(curl), Bench::median(curlCpu));
    std::printf("  ratio                                     %10.2f x  %7.2f x   %10.2f x   "
                "(target: at most 1.05 x)\n",
                ourMedian / curlMedian, best(lumisong) / best(curl),
                Bench::median(lumisongCpu) / Bench::median(curlCpu));
    std::printf("load average after: %s\n", loadAverage().constData());
    return 0;
}
