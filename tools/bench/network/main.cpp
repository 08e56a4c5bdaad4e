// lumisong-bench-network [runs]: the whole `lumisong --export FILE --all`,
// side by side:
//   loopback       - 1000 songs, demo site, --connections 4: median of runs;
//   distant site   - --connect-delay 50 --latency 50, 200 songs, defaults;
//   HTTP/2 vs 1.1  - a site that answers each request after 50 ms, 1000 songs:
//                    nginx with TLS and HTTP/2 in front of it (defaults)
//                    against 4 HTTP/1.1 connections to the site itself;
//   peak memory    - ru_maxrss of the export of 1000 songs, and of one against
//                    a server that sends one endless chunk.
// Every server is started here, on 127.0.0.1.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "hostileserver.h"
#include "measuredrun.h"
#include "nginxrunner.h"
#include "testca.h"
#include "tools/bench/benchfigures.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Lumisong::Test;

namespace {

struct Export
{
    MeasuredRun run;
    bool whole = false; // the list file holds every song and the trailer
};

Export exportAll(const QString &site, int songs, const QStringList &extra = {})
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.lst"));
    Export result;
    result.run = MeasuredRun::run(QStringLiteral(LUMISONG_BINARY),
                                  QStringList{QStringLiteral("--site"), site,
                                              QStringLiteral("--export"), path,
                                              QStringLiteral("--all")}
                                      + extra,
                                  300000, qint64(3) << 30);
    QFile file(path);
    result.whole = result.run.exitCode == 0 && file.open(QIODevice::ReadOnly)
        && file.readAll().count('\n') == songs + 1;
    return result;
}

// One export against a new demo site.
Export demoExport(int songs, int connectDelayMs, int latencyMs, const QStringList &extra = {})
{
    DemoSite site(songs);
    site.setConnectDelay(connectDelayMs);
    site.setLatency(latencyMs);
    if (!site.listen())
        return {};
    return exportAll(site.baseUrl(), songs, extra);
}

// Through nginx (TLS, HTTP/2) in front of a demo site answering after latencyMs.
Export nginxExport(const TestCa &ca, int songs, int latencyMs, int *connections)
{
    DemoSite site(songs);
    site.setLatency(latencyMs);
    NginxRunner nginx;
    QString error;
    if (!site.listen()) {
        std::fprintf(stderr, "the demo site cannot listen\n");
        return {};
    }
    // nginx ends a connection after 1000 requests by default; the page and
    // 1000 addresses would then need a second one.
    NginxRunner::Options options = NginxRunner::tlsFront(site.port(), ca);
    options.keepaliveRequests = 10000;
    if (!nginx.start(options, &error)) {
        std::fprintf(stderr, "nginx: %s\n", qPrintable(error));
        return {};
    }
    Export result = exportAll(nginx.baseUrl(), songs);
    *connections = nginx.connectionsUsed();
    return result;
}

// "12.34 s", or why the export did not write the whole list.
QByteArray seconds(const Export &result)
{
    if (result.whole)
        return QByteArray::number(result.run.ms / 1000, 'f', 2).rightJustified(8) + " s ";
    return "FAILED (exit " + QByteArray::number(result.run.exitCode) + ": "
        + result.run.err.trimmed().split('\n').last() + ")";
}

double mib(qint64 kb)
{
    return double(kb) / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = std::max(argc > 1 ? QByteArray(argv[1]).toInt() : 5, 1);

    TestCa ca;
    QString error;
    if (!ca.create({}, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    qputenv("SSL_CERT_FILE", ca.caFile().toLocal8Bit());

    std::printf("lumisong-bench-network: the whole `lumisong --export FILE --all`\n\n");

    QList<double> loopback;
    qint64 exportRss = 0;
    for (int run = 0; run < runs; ++run) {
        const Export result = demoExport(1000, 0, 0, {QStringLiteral("--connections"),
                                                      QStringLiteral("4")});
        if (!result.whole) {
            std::printf("loopback export %s\n", seconds(result).constData());
            return 1;
        }
        loopback << result.run.ms;
        exportRss = std::max(exportRss, result.run.maxRssKb);
    }
    std::printf("loopback, 1000 songs, demo site, N=4   median %8.1f ms  (%d runs; target: at "
                "most 90 ms)\n",
                Bench::median(loopback), runs);

    const Export distant = demoExport(200, 50, 50);
    std::printf("distant demo site, 200 songs, defaults       %s  (connect 50 ms, latency "
                "50 ms; target: at most 2.9 s)\n\n",
                seconds(distant).constData());

    int connections = 0;
    const Export h2 = nginxExport(ca, 1000, 50, &connections);
    const Export h1 = demoExport(1000, 0, 50, {QStringLiteral("--connections"),
                                               QStringLiteral("4")});
    std::printf("a site answering after 50 ms, 1000 songs\n");
    std::printf("  nginx, TLS + HTTP/2, defaults              %s  on %d connection(s) "
                "(target: at most 3 s, one connection)\n",
                seconds(h2).constData(), connections);
    std::printf("  4 HTTP/1.1 connections to the site         %s  (about 12.5 s)\n\n",
                seconds(h1).constData());

    HostileServer endless(HostileServer::Behaviour::EndlessChunk, HostileServer::Where::Page);
    if (!endless.listen())
        return 1;
    const Export hostile = exportAll(endless.baseUrl(), 0);
    std::printf("peak memory (ru_maxrss)\n");
    std::printf("  --export, 1000 songs                       %8.1f MiB (target: at most 40 MB)\n",
                mib(exportRss));
    std::printf("  against the endless-chunk server           %8.1f MiB (target: at most 60 MB); "
                "exit status %d after %.1f s\n",
                mib(hostile.run.maxRssKb), hostile.run.exitCode, hostile.run.ms / 1000);
    return 0;
}
