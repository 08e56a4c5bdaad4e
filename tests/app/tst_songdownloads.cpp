#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/programrun.h"
#include "tests/support/nginxrunner.h"
#include "tools/demosite/demosite.h"
#include "tools/demosite/songfile.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString fileName(const DemoCatalogue::Song &song)
{
    return song.singer + u" - " + song.title + u".mp3";
}

// The lines of `bytes`, sorted: songs fetched side by side end, and are
// printed and archived, in any order.
QStringList sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

QStringList sortedLines(const QByteArray &bytes)
{
    return sorted(QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts));
}

// Bytes in the folder's .part files.
qint64 partBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, {u"*.part"_s}, QDir::Files); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

} // namespace

// `lumisong --download` as a child process: its output and exit status, the
// archive across runs, a run killed half-way and resumed, a full disk.
class tst_SongDownloads : public QObject
{
    Q_OBJECT

private slots:
    void archiveAcrossRuns();
    void failedSongsEndWithStatus2();
    void killedRunResumesWithRanges();
    void fullDiskStopsAtOnce();
};

void tst_SongDownloads::archiveAcrossRuns()
{
    DemoSite site(4);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"songs"_s);
    const QString archive = dir.filePath(u"done.txt"_s);
    const QStringList common{u"--site"_s, site.baseUrl(), u"--download"_s, folder, u"--archive"_s, archive};
    const QList<DemoCatalogue::Song> &songs = site.catalogue().songs();

    Run run = runLumisong(common + QStringList{u"--songs"_s, u"1-2"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(sortedLines(run.out),
             (QStringList{u"1\t"_s + QDir(folder).filePath(fileName(songs[0])),
                          u"2\t"_s + QDir(folder).filePath(fileName(songs[1]))}));
    QVERIFY2(run.err.endsWith("已下载 2 首歌曲。\n"), run.err.constData());
    QCOMPARE(sortedLines(readAll(archive)), sorted({songs[0].songId, songs[1].songId}));

    run = runLumisong(common + QStringList{u"--all"_s});
    QCOMPARE(run.exitCode, 0);
    const QStringList rest = sortedLines(run.out);
    QCOMPARE(rest.size(), 2);
    QVERIFY(rest.at(0).startsWith(u"3\t") && rest.at(1).startsWith(u"4\t"));
    QVERIFY(run.err.endsWith("已下载 2 首歌曲。\n"));
    QCOMPARE(readAll(archive).count('\n'), 4);

    site.resetCounters();
    run = runLumisong(common + QStringList{u"--all"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(run.err.endsWith("没有新的歌曲。\n"));
    QCOMPARE(site.totalRequests(), 1); // the catalogue only
}

void tst_SongDownloads::failedSongsEndWithStatus2()
{
    DemoSite site(4);
    QVERIFY(site.listen());
    const QList<DemoCatalogue::Song> &songs = site.catalogue().songs();
    ScriptedAnswer missing;
    missing.status = 404;
    site.setAnswer(DemoCatalogue::filePath(songs[1].songId), missing);
    ScriptedAnswer cut = ScriptedAnswer::withBody(site.catalogue().fileContent(songs[2]));
    cut.cutAfterBytes = 1000;
    site.setAnswer(DemoCatalogue::filePath(songs[2].songId), cut);
    QTemporaryDir dir;
    const QString archive = dir.filePath(u"done.txt"_s);
    const Run run = runLumisong({u"--site"_s, site.baseUrl(), u"--download"_s, dir.path(), u"--all"_s,
                                 u"--archive"_s, archive});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out.count('\n'), 2);
    const QString err = QString::fromUtf8(run.err);
    QVERIFY2(err.contains(u"row 2 (%1): HTTP status 404"_s.arg(fileName(songs[1]))), qPrintable(err));
    QVERIFY(err.contains(u"row 3 (%1): "_s.arg(fileName(songs[2]))));
    QVERIFY(!err.contains(u"已下载"));
    QCOMPARE(sortedLines(readAll(archive)), sorted({songs[0].songId, songs[3].songId}));
    QCOMPARE(QFileInfo(dir.filePath(fileName(songs[2]) + u".part")).size(), 1000);
    QVERIFY(!QFile::exists(dir.filePath(fileName(songs[2]))));
}

void tst_SongDownloads::killedRunResumesWithRanges()
{
    // nginx serves the song files from disk, slowly enough to be killed midway.
    DemoSite site(4);
    QVERIFY(site.listen());
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(u"files"_s));
    // nginx's workers may run as another user: they must be able to read.
    const QFileDevice::Permissions open = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                          | QFileDevice::ExeOther;
    QVERIFY(QFile::setPermissions(root.path(), open));
    QVERIFY(QFile::setPermissions(root.filePath(u"files"_s), open));
    constexpr qint64 Size = 2 * 1024 * 1024;
    QList<QByteArray> served;
    for (const DemoCatalogue::Song &song : site.catalogue().songs()) {
        served << SongFile::mp3(song.songId, Size);
        QFile file(root.filePath(u"files/"_s + song.songId + u".mp3"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(served.last());
        file.setPermissions(file.permissions() | QFileDevice::ReadOther);
    }
    Test::NginxRunner nginx;
    Test::NginxRunner::Options options;
    options.upstreamPort = site.port();
    options.tls = false;
    options.filesRoot = root.path();
    options.limitRate = 1024 * 1024;
    QString error;
    QVERIFY2(nginx.start(options, &error), qPrintable(error));

    QTemporaryDir dir;
    const QStringList args{u"--site"_s, nginx.baseUrl(), u"--download"_s, dir.path(), u"--all"_s,
                           u"--no-tags"_s, u"--connections"_s, u"2"_s};
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(LUMISONG_BINARY), args);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(partBytes(dir.path()) >= Size, 30000);
    first.kill(); // SIGKILL: no chance to tidy up
    QVERIFY(first.waitForFinished());
    const qint64 kept = partBytes(dir.path());
    QVERIFY(kept > 0);

    const Run second = runLumisong(args);
    QCOMPARE(second.exitCode, 0);
    const QList<DemoCatalogue::Song> &songs = site.catalogue().songs();
    for (qsizetype i = 0; i < songs.size(); ++i)
        QVERIFY(readAll(dir.filePath(fileName(songs[i]))) == served[i]);
    QTRY_VERIFY(nginx.requests().size() >= 2 * 1 + 4 + 4); // both pages, the addresses, the files
    qint64 sent = 0;
    int ranges = 0;
    for (const Test::NginxRunner::Request &request : nginx.requests()) {
        if (!request.target.startsWith(u"/files/"))
            continue;
        sent += request.bytesSent;
        ranges += request.range.startsWith(u"bytes=") && request.status == 206;
    }
    QVERIFY2(ranges >= 1, qPrintable(QString::number(ranges)));
    // The kept bytes are not fetched again.
    QVERIFY2(sent <= 4 * Size + Size / 10, qPrintable(u"%1 bytes sent"_s.arg(sent)));
}

void tst_SongDownloads::fullDiskStopsAtOnce()
{
    // A file size limit stands in for a full disk (the same error to a
    // writer): the first song meets it half-way.
    DemoSite site(3);
    site.setFileSize(400 * 1024);
    QVERIFY(site.listen());
    QTemporaryDir dir;
    const QString archive = dir.filePath(u"done.txt"_s);
    const QString command = u"ulimit -f 200 && exec \"$0\" \"$@\""_s;
    const Run run = runProgram(u"bash"_s, {u"-c"_s, command, QStringLiteral(LUMISONG_BINARY), u"--site"_s,
                                           site.baseUrl(), u"--download"_s, dir.path(), u"--all"_s,
                                           u"--connections"_s, u"1"_s, u"--archive"_s, archive});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("download stopped"), run.err.constData());
    const QList<DemoCatalogue::Song> &songs = site.catalogue().songs();
    QCOMPARE(QFileInfo(dir.filePath(fileName(songs[0]) + u".part")).size(), 200 * 1024);
    QCOMPARE(run.out, QByteArray());
    // The run stopped at once: no other song was begun, the archive is untouched.
    QCOMPARE(QDir(dir.path()).entryList({u"*.mp3*"_s}, QDir::Files).size(), 2); // .part, .part.validator
    QVERIFY(!QFile::exists(archive));
}

QTEST_GUILESS_MAIN(tst_SongDownloads)
#include "tst_songdownloads.moc"
