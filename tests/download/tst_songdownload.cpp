#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/urllinkframe.h>

#include "tests/support/qtwarnings.h"
#include "download/songdownloadrun.h"
#include "net/fetchlimits.h"
#include "tools/demosite/demosite.h"
#include "tools/demosite/songfile.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct RunEnd
{
    QStringList paths; // of the songs in the folder, in the order they were told
    QStringList failures;
    QStringList notes;
    QString fatal;
};

RunEnd runDownloads(const QString &folder, const std::vector<ListEntry> &songs, bool tags = true)
{
    SongDownloadRun run(folder, songs, {2, 2});
    run.setTags(tags);
    RunEnd end;
    QObject::connect(&run, &SongDownloadRun::songFinished, &run,
                     [&](int, const QString &path) { end.paths << QFileInfo(path).fileName(); });
    QObject::connect(&run, &SongDownloadRun::songFailed, &run,
                     [&](int row, const QString &reason) { end.failures << u"%1: %2"_s.arg(row).arg(reason); });
    QObject::connect(&run, &SongDownloadRun::songNote, &run, [&](const QString &note) { end.notes << note; });
    run.start();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(run.isFinished(), 60000); }();
    end.fatal = run.fatalError();
    return end;
}

} // namespace

// The download of song files into a folder: resuming without splicing two
// versions, hostile answers, tags, and names that repeat.
class tst_SongDownload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void resumesWithoutSplicing_data();
    void resumesWithoutSplicing();
    void hostileAnswers_data();
    void hostileAnswers();
    void tags_data();
    void tags();
    void repeatedNamesKeepTheirOwnFiles();
    void whatOneSongOrNoSongSurvives();

private:
    ListEntry entry(const DemoSite &site, int index) const;

    std::unique_ptr<DemoSite> m_site;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SongDownload::init()
{
    Test::failOnQtMisuseWarnings();
    setFetchLimits({});
    m_site = std::make_unique<DemoSite>(3);
    m_site->setFileSize(64 * 1024);
    QVERIFY(m_site->listen());
    m_dir = std::make_unique<QTemporaryDir>();
}

ListEntry tst_SongDownload::entry(const DemoSite &site, int index) const
{
    const DemoCatalogue::Song &song = site.catalogue().songs().at(index);
    SongRecord record{song.songId, song.album, song.title, song.singer, song.releaseDate,
                      song.dailyDownloads, song.totalDownloads,
                      site.baseUrl() + DemoCatalogue::filePath(song.songId)};
    return {index + 1, record};
}

void tst_SongDownload::resumesWithoutSplicing_data()
{
    // Runs in turn: "CUT/REVISION" each, the site's answers cut after CUT
    // bytes (-1: whole) serving that revision of the file. After the last the
    // song holds the last revision, whole.
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<QList<qint64>>("partSizes"); // the .part after each run but the last
    QTest::newRow("continued where it stopped")
        << QStringList{u"20000/0"_s, u"20000/0"_s, u"-1/0"_s} << QList<qint64>{20000, 40000};
    QTest::newRow("a changed file starts again")
        << QStringList{u"20000/0"_s, u"-1/1"_s} << QList<qint64>{20000};
    QTest::newRow("a changed file, cut again")
        << QStringList{u"30000/0"_s, u"10000/1"_s, u"-1/1"_s} << QList<qint64>{30000, 10000};
}

void tst_SongDownload::resumesWithoutSplicing()
{
    QFETCH(QStringList, runs);
    QFETCH(QList<qint64>, partSizes);
    const ListEntry song = entry(*m_site, 0);
    const QString name = m_dir->filePath(song.song.singer + u" - " + song.song.title + u".mp3");
    int revision = 0;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const QStringList step = runs.at(i).split(u'/');
        m_site->setCutAfter(step.at(0).toLongLong());
        revision = step.at(1).toInt();
        m_site->setFileRevision(revision);
        const RunEnd end = runDownloads(m_dir->path(), {song}, false);
        if (i + 1 < runs.size()) {
            QCOMPARE(end.failures.size(), 1);
            QVERIFY(!QFile::exists(name));
            QCOMPARE(QFileInfo(name + u".part").size(), partSizes.at(i));
        } else {
            QCOMPARE(end.failures, QStringList());
        }
    }
    QCOMPARE(readAll(name), m_site->catalogue().fileContent(m_site->catalogue().songs().at(0), 64 * 1024, revision));
    QVERIFY(!QFile::exists(name + u".part"));
}

void tst_SongDownload::hostileAnswers_data()
{
    // Each song first gets a .part of 20000 bytes with its validator; then
    // the site answers as the row says.
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("completes"); // with the whole file as served; else the .part stays
    QTest::newRow("200 for a Range request") << 0 << true;
    QTest::newRow("a body cut short") << 1 << false;
    QTest::newRow("no length, ended by closing") << 2 << false;
    QTest::newRow("a .part longer than the file (416)") << 3 << true;
    QTest::newRow("not found") << 4 << false;
    QTest::newRow("a body beyond the size limit") << 5 << false;
}

void tst_SongDownload::hostileAnswers()
{
    QFETCH(int, kind);
    QFETCH(bool, completes);
    const ListEntry song = entry(*m_site, 0);
    const QString name = m_dir->filePath(song.song.singer + u" - " + song.song.title + u".mp3");
    m_site->setCutAfter(20000);
    QCOMPARE(runDownloads(m_dir->path(), {song}, false).failures.size(), 1);
    m_site->setCutAfter(-1);
    const QByteArray file = m_site->catalogue().fileContent(m_site->catalogue().songs().at(0), 64 * 1024);
    const QString target = DemoCatalogue::filePath(song.song.songId);
    ScriptedAnswer answer = ScriptedAnswer::withBody(file);
    answer.headers = {{"ETag", "\"whole\""}};
    switch (kind) {
    case 0:
        break;
    case 1:
        answer.cutAfterBytes = 100;
        break;
    case 2:
        answer.sendContentLength = false;
        break;
    case 3: { // the site's own answers, to a .part that grew too long
        QFile part(name + u".part");
        QVERIFY(part.open(QIODevice::Append));
        part.write(QByteArray(file.size(), 'x'));
        break;
    }
    case 4:
        answer.status = 404;
        break;
    case 5: {
        FetchLimits limits;
        limits.maxFileBytes = 32 * 1024;
        setFetchLimits(limits);
        break;
    }
    }
    if (kind != 3)
        m_site->setAnswer(target, answer);
    const QByteArray partBefore = readAll(name + u".part");
    const RunEnd end = runDownloads(m_dir->path(), {song}, false);
    QCOMPARE(end.failures.isEmpty(), completes);
    QCOMPARE(QFile::exists(name), completes);
    if (completes)
        QCOMPARE(readAll(name), file);
    else if (kind == 4) // nothing came: the .part is as it was
        QCOMPARE(readAll(name + u".part"), partBefore);
    else
        QVERIFY(QFile::exists(name + u".part"));
}

void tst_SongDownload::tags_data()
{
    QTest::addColumn<bool>("audio");
    QTest::addColumn<bool>("tags");
    QTest::newRow("MP3, tagged") << true << true;
    QTest::newRow("MP3, --no-tags") << true << false;
    QTest::newRow("text under an .mp3 name") << false << true;
}

void tst_SongDownload::tags()
{
    QFETCH(bool, audio);
    QFETCH(bool, tags);
    DemoCatalogue::Song song{u"42"_s, u"听海 ☂"_s, u"张惠妹"_s, u"十年 Album"_s, u"2026-11-30"_s, u"1"_s, u"2"_s};
    m_site->setCatalogue(DemoCatalogue(QList<DemoCatalogue::Song>{song}));
    const ListEntry entry = this->entry(*m_site, 0);
    const QByteArray served = audio ? m_site->catalogue().fileContent(song, 64 * 1024)
                                    : QByteArray("just some text, no audio at all\n").repeated(100);
    if (!audio)
        m_site->setAnswer(DemoCatalogue::filePath(song.songId), ScriptedAnswer::withBody(served));
    const RunEnd end = runDownloads(m_dir->path(), {entry}, tags);
    QCOMPARE(end.failures, QStringList());
    const QString path = m_dir->filePath(u"张惠妹 - 听海 ☂.mp3"_s);
    QCOMPARE(end.paths, QStringList{QFileInfo(path).fileName()});
    QCOMPARE(end.notes.size(), audio ? 0 : 1);
    const QByteArray bytes = readAll(path);
    if (!audio || !tags) {
        QCOMPARE(bytes, served);
        return;
    }
    // The audio frames are the served ones; the tag in front is new.
    const qsizetype firstFrame = served.indexOf("\xFF\xFB");
    QVERIFY(bytes.endsWith(served.mid(firstFrame)));
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    QVERIFY(file.hasID3v2Tag());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    QCOMPARE(tag->header()->majorVersion(), 4u);
    const auto text = [tag](const char *id) {
        const TagLib::ID3v2::FrameList frames = tag->frameListMap()[id];
        if (frames.isEmpty())
            return QString();
        auto *frame = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame *>(frames.front());
        return frame && frame->textEncoding() == TagLib::String::UTF8
                   ? QString::fromStdString(frame->toString().to8Bit(true))
                   : u"(not UTF-8)"_s;
    };
    QCOMPARE(text("TIT2"), song.title);
    QCOMPARE(text("TPE1"), song.singer);
    QCOMPARE(text("TALB"), song.album);
    QCOMPARE(text("TDRC"), song.releaseDate);
    const TagLib::ID3v2::FrameList woaf = tag->frameListMap()["WOAF"];
    QCOMPARE(woaf.size(), 1u);
    QCOMPARE(QString::fromStdString(dynamic_cast<TagLib::ID3v2::UrlLinkFrame *>(woaf.front())->url().to8Bit(true)),
             entry.song.downloadUrl);
}

void tst_SongDownload::repeatedNamesKeepTheirOwnFiles()
{
    const QList<DemoCatalogue::Song> songs = {
        {u"1"_s, u"同名"_s, u"歌手"_s, u"A"_s, u"2026-01-01"_s, u"0"_s, u"0"_s},
        {u"2"_s, u"同名"_s, u"歌手"_s, u"B"_s, u"2026-01-02"_s, u"0"_s, u"0"_s},
        {u"3"_s, u"手放"_s, u"歌手"_s, u"C"_s, u"2026-01-03"_s, u"0"_s, u"0"_s},
        {u"4"_s, u"同名"_s, u"歌手"_s, u"D"_s, u"2026-01-04"_s, u"0"_s, u"0"_s},
    };
    m_site->setCatalogue(DemoCatalogue(songs));
    const auto requests = [this](int index) {
        return m_site->requestCount(DemoCatalogue::filePath(m_site->catalogue().songs().at(index).songId));
    };
    // A file put there by hand counts as the song of that name: no request.
    {
        QFile byHand(m_dir->filePath(u"歌手 - 手放.mp3"_s));
        QVERIFY(byHand.open(QIODevice::WriteOnly));
        byHand.write("mine");
    }
    RunEnd end = runDownloads(m_dir->path(), {entry(*m_site, 0), entry(*m_site, 1), entry(*m_site, 2)});
    QCOMPARE(end.failures, QStringList());
    QCOMPARE(QSet<QString>(end.paths.begin(), end.paths.end()),
             (QSet<QString>{u"歌手 - 同名.mp3"_s, u"歌手 - 同名 (2).mp3"_s, u"歌手 - 手放.mp3"_s}));
    QCOMPARE(requests(2), 0);
    QCOMPARE(readAll(m_dir->filePath(u"歌手 - 手放.mp3"_s)), QByteArray("mine"));

    // Alone in a later list, the second song is still the one it was, and a
    // new song of the same name is never taken for either.
    end = runDownloads(m_dir->path(), {entry(*m_site, 1), entry(*m_site, 3)});
    QCOMPARE(end.paths, (QStringList{u"歌手 - 同名 (2).mp3"_s, u"歌手 - 同名 (3).mp3"_s}));
    QCOMPARE(requests(1), 1);
    QCOMPARE(requests(3), 1);
    QVERIFY(readAll(m_dir->filePath(u"歌手 - 同名 (3).mp3"_s)).contains("lumisong-demo"));
}

void tst_SongDownload::whatOneSongOrNoSongSurvives()
{
    // A folder in the way of one song's name fails that song only.
    const ListEntry blocked = entry(*m_site, 0);
    QVERIFY(QDir(m_dir->path()).mkdir(blocked.song.singer + u" - " + blocked.song.title + u".mp3"));
    RunEnd end = runDownloads(m_dir->path(), {blocked, entry(*m_site, 1)});
    QCOMPARE(end.failures.size(), 1);
    QVERIFY(end.failures.first().startsWith(u"1: "));
    QCOMPARE(end.paths.size(), 1);
    QVERIFY(end.fatal.isEmpty());

    // A folder that cannot be made stops the run before any request.
    QFile file(m_dir->filePath(u"a file"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_site->resetCounters();
    end = runDownloads(m_dir->filePath(u"a file/songs"_s), {entry(*m_site, 2)});
    QVERIFY(!end.fatal.isEmpty());
    QCOMPARE(m_site->totalRequests(), 0);

    // A record that is not ours is not overwritten: the run stops.
    QFile record(m_dir->filePath(u".lumisong.json"_s));
    QVERIFY(record.open(QIODevice::WriteOnly));
    record.write("not json");
    record.close();
    end = runDownloads(m_dir->path(), {entry(*m_site, 2)});
    QVERIFY(!end.fatal.isEmpty());
    QCOMPARE(readAll(record.fileName()), QByteArray("not json"));
}

QTEST_GUILESS_MAIN(tst_SongDownload)
#include "tst_songdownload.moc"
