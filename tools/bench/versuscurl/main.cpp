// lumisong-bench-versuscurl [runs]: the whole `lumisong --export FILE --all
// --connections 4` of 1000 songs from the demo site on loopback, against
// `curl -s -Z --parallel-max 4 -K CONFIG`, where CONFIG asks the same site for
// the same page and the same 1000 song addresses. Both run as whole processes,
// one after the other in every round, so that the machine's load falls on
// both alike; prints the medians and their ratio (target: at most 1.05 x).
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "tools/bench/benchfigures.h"
#include "tools/bench/programrun.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;

namespace {

constexpr int songs = 1000;
constexpr int timeoutMs = 120000;

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
    const double ms = Bench::timeProgram(
        QStringLiteral(LUMISONG_BINARY),
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
    QList<double> lumisong;
    QList<double> curl;
    for (int run = 0; run < runs; ++run) {
        const double ours = exportOnce(site, listPath);
        const double theirs = curlOnce(configPath);
        if (ours < 0 || theirs < 0) {
            std::fprintf(stderr, "%s failed\n", ours < 0 ? "the export" : "curl");
            return 1;
        }
        lumisong << ours;
        curl << theirs;
    }
    const double ourMedian = Bench::median(lumisong);
    const double curlMedian = Bench::median(curl);
    std::printf("  lumisong --export --all --connections 4   median %7.1f ms   best %7.1f ms\n",
                ourMedian, *std::min_element(lumisong.begin(), lumisong.end()));
    std::printf("  curl -s -Z --parallel-max 4 -K CONFIG     median %7.1f ms   best %7.1f ms\n",
                curlMedian, *std::min_element(curl.begin(), curl.end()));
    std::printf("  ratio of the medians                      %7.2f x   (target: at most 1.05 x)\n",
                ourMedian / curlMedian);
    std::printf("  ratio of the best runs                    %7.2f x\n",
                *std::min_element(lumisong.begin(), lumisong.end())
                    / *std::min_element(curl.begin(), curl.end()));
    std::printf("load average after: %s\n", loadAverage().constData());
    return 0;
}
