// lumisong-bench-download: `lumisong --download DIR --all` against `aria2c -i`
// on the same addresses and server, in one run:
//   small files - 200 songs of 1 MiB from the demo site, each file answered
//                 after 50 ms (address answers at once), 4 connections; the
//                 whole --download, resolution included, against aria2c -j 4;
//   large files - 20 songs of 64 MiB from nginx over loopback, 4 connections:
//                 time and peak memory (ru_maxrss) of both;
//   resumed     - 10 songs cut at half their length by a first run: the share
//                 of their total size the second run fetches.
// Every server is started here, on 127.0.0.1. Needs time(1) (/usr/bin/time).
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include "catalogue/listformat.h"
#include "measuredrun.h"
#include "nginxrunner.h"
#include "tools/demosite/demosite.h"
#include "tools/demosite/songfile.h"

using namespace Lumisong;
using namespace Lumisong::Test;

namespace {

constexpr qint64 MiB = 1024 * 1024;

// The child's own peak memory comes from time(1): a child spawned by this
// process inherits its high-water mark in ru_maxrss, and this process holds
// the served files.
MeasuredRun timed(const QString &program, const QStringList &args)
{
    MeasuredRun run = MeasuredRun::run(QStringLiteral("/usr/bin/time"),
                                       QStringList{QStringLiteral("-f"), QStringLiteral("maxrss %M"), program}
                                           + args,
                                       600000);
    const qsizetype at = run.err.lastIndexOf("maxrss ");
    run.maxRssKb = at < 0 ? -1 : run.err.mid(at + 7).trimmed().toLongLong();
    return run;
}

MeasuredRun download(const QString &site, const QString &folder, const QStringList &extra = {})
{
    return timed(QStringLiteral(LUMISONG_BINARY),
                 QStringList{QStringLiteral("--site"), site, QStringLiteral("--download"), folder,
                             QStringLiteral("--all"), QStringLiteral("--no-tags")}
                     + extra);
}

// aria2c on the aria2 list of the site's songs at `base`.
MeasuredRun aria2(const DemoCatalogue &catalogue, const QString &base, const QString &folder)
{
    std::vector<ListEntry> entries;
    int row = 0;
    for (const DemoCatalogue::Song &s : catalogue.songs())
        entries.push_back({++row, SongRecord{s.songId, s.album, s.title, s.singer, s.releaseDate,
                                             s.dailyDownloads, s.totalDownloads,
                                             base + DemoCatalogue::filePath(s.songId)}});
    QString error;
    const QString list = folder + QStringLiteral(".aria2.txt");
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(ListFormats::encode(ListFormat::Aria2, entries, &error).value_or("")) <= 0)
        return {};
    file.close();
    return timed(QStringLiteral("aria2c"),
                 {QStringLiteral("-i"), list, QStringLiteral("-d"), folder, QStringLiteral("-j"),
                  QStringLiteral("4"), QStringLiteral("-x"), QStringLiteral("1"),
                  QStringLiteral("--file-allocation=none"), QStringLiteral("--console-log-level=warn"),
                  QStringLiteral("--summary-interval=0"), QStringLiteral("--auto-file-renaming=false")});
}

qint64 folderBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, {QStringLiteral("*.mp3")}, QDir::Files); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

void report(const char *what, const MeasuredRun &run, const QString &folder)
{
    std::printf("  %-28s %8.0f ms  exit %d  %6.1f MiB in the folder  peak %lld KiB\n", what, run.ms,
                run.exitCode, double(folderBytes(folder)) / MiB, qlonglong(run.maxRssKb));
}

// Both downloaders on the site's songs at `base`, each into a folder of its own.
void sideBySide(const QTemporaryDir &dir, const QString &name, const DemoCatalogue &catalogue,
                const QString &base)
{
    const QString ours = dir.filePath(name + QStringLiteral("-lumisong"));
    const QString theirs = dir.filePath(name + QStringLiteral("-aria2"));
    const MeasuredRun a = download(base, ours, {QStringLiteral("--connections"), QStringLiteral("4")});
    const MeasuredRun b = aria2(catalogue, base, theirs);
    report("lumisong --download", a, ours);
    report("aria2c -i -j 4", b, theirs);
    std::printf("  ratio %.2f\n", a.ms / b.ms);
    QDir(ours).removeRecursively();
    QDir(theirs).removeRecursively();
}

void smallFiles(const QTemporaryDir &dir)
{
    std::printf("200 songs of 1 MiB, files answered after 50 ms, 4 connections:\n");
    DemoSite site(200);
    for (const DemoCatalogue::Song &song : site.catalogue().songs())
        site.setAnswer(DemoCatalogue::filePath(song.songId),
                       ScriptedAnswer::withBody(site.catalogue().fileContent(song, MiB), 50));
    if (!site.listen())
        return;
    sideBySide(dir, QStringLiteral("small"), site.catalogue(), site.baseUrl());
}

void largeFiles(const QTemporaryDir &dir)
{
    std::printf("20 songs of 64 MiB from nginx over loopback, 4 connections:\n");
    DemoSite site(20);
    if (!site.listen())
        return;
    const QString root = dir.filePath(QStringLiteral("root"));
    QDir().mkpath(root + QStringLiteral("/files"));
    for (const QString &path : QStringList{dir.path(), root, root + QStringLiteral("/files")})
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther | QFileDevice::ExeOther);
    for (const DemoCatalogue::Song &song : site.catalogue().songs()) {
        QFile file(root + QStringLiteral("/files/") + song.songId + QStringLiteral(".mp3"));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(SongFile::mp3(song.songId, 64 * MiB));
        file.setPermissions(file.permissions() | QFileDevice::ReadOther);
    }
    NginxRunner nginx;
    NginxRunner::Options options;
    options.upstreamPort = site.port();
    options.tls = false;
    options.filesRoot = root;
    QString error;
    if (!nginx.start(options, &error)) {
        std::printf("  nginx: %s\n", qPrintable(error));
        return;
    }
    sideBySide(dir, QStringLiteral("large"), site.catalogue(), nginx.baseUrl());
    QDir(root).removeRecursively();
}

void resumed(const QTemporaryDir &dir)
{
    std::printf("10 songs of 4 MiB cut at half their length, then resumed:\n");
    DemoSite site(10);
    site.setFileSize(4 * MiB);
    site.setCutAfter(2 * MiB);
    if (!site.listen())
        return;
    const QString folder = dir.filePath(QStringLiteral("resumed"));
    const MeasuredRun first = download(site.baseUrl(), folder);
    site.setCutAfter(-1);
    site.resetCounters();
    const MeasuredRun second = download(site.baseUrl(), folder);
    const qint64 total = 10 * 4 * MiB;
    std::printf("  first run exit %d, second exit %d: %.1f MiB of %.1f MiB fetched again (%.0f %%)\n",
                first.exitCode, second.exitCode, double(site.bodyBytesSent()) / MiB, double(total) / MiB,
                100.0 * double(site.bodyBytesSent()) / double(total));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    smallFiles(dir);
    largeFiles(dir);
    resumed(dir);
    return 0;
}
