#include "catalogue/exportarchive.h"
#include "catalogue/listformat.h"
#include "catalogue/safefilename.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/catalogue/filebytes.h"
#include "tests/support/datacolumns.h"

using namespace Lumisong;
using FileBytes::readAll;
using namespace Qt::StringLiterals;

namespace {

ListEntry entry(int row, const QString &songId, const QString &singer, const QString &title,
                const QString &downloadUrl)
{
    SongRecord song;
    song.songId = songId;
    song.singer = singer;
    song.title = title;
    song.album = u"专辑"_s;
    song.releaseDate = u"2010-04-27"_s;
    song.dailyDownloads = u"7"_s;
    song.totalDownloads = u"70"_s;
    song.downloadUrl = downloadUrl;
    return {row, song};
}

const QString LongTitle = QString(100, u'晴'); // 300 bytes of UTF-8

// A page's worth of hostile fields: path characters, quotes, a name of dots,
// control characters, a 300-byte title, names that repeat (letter case
// aside), an id that climbs folders, characters only GBK has.
std::vector<ListEntry> hostilePage()
{
    return {
        entry(1, u"101"_s, u"AC/DC"_s, u"Back: In \"Black\"?"_s, u"http://h/files/101.mp3"_s),
        entry(2, u"102"_s, QString(), u".."_s, u"http://h/get?id=102"_s),
        entry(4, u"103"_s, u"Esc\x1b"_s, u"Line\r\nTwo\tTab"_s, u"http://h/镕/103.WMA"_s),
        entry(5, u"104"_s, u"吴喆"_s, LongTitle, u"http://h/files/104.mp3"_s),
        entry(6, u"105"_s, u"李堃"_s, u"Same"_s, u"http://h/files/105.mp3"_s),
        entry(7, u"106"_s, u"李堃"_s, u"same "_s, u"http://h/files/106.mp3"_s),
        entry(8, u"../107"_s, u" . "_s, QString(), u"http://h/files/107.mp3"_s),
    };
}

QByteArray jsonSong(int row, const QByteArray &songId, const QByteArray &title,
                    const QByteArray &singer, const QByteArray &url)
{
    return QByteArray("{\"row\": ") + QByteArray::number(row) + ", \"songId\": \"" + songId +
           "\", \"releaseDate\": \"2010-04-27\", \"title\": \"" + title + "\", \"singer\": \"" +
           singer +
           "\", \"album\": \"专辑\", \"dailyDownloads\": \"7\", "
           "\"totalDownloads\": \"70\", \"downloadUrl\": \"" +
           url + "\"}";
}

// The archive at `path` holding `bytes` ("<missing>": no file).
std::optional<ExportArchive> readArchive(const QString &path, const QByteArray &bytes)
{
    if (bytes != "<missing>")
        FileBytes::write(path, bytes);
    QString error;
    std::optional<ExportArchive> archive = ExportArchive::read(path, &error);
    if (!archive)
        qWarning("%s", qPrintable(error));
    return archive;
}

} // namespace

class TestExportFormats final : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void refused_data();
    void refused();
    void safeName_data();
    void safeName();
    void namesOfAList_data();
    void namesOfAList();
    void archiveLeavesOut_data();
    void archiveLeavesOut();
    void archiveAdds_data();
    void archiveAdds();
    void archiveUnreadable_data();
    void archiveUnreadable();
};

void TestExportFormats::bytes_data()
{
    QTest::addColumn<ListFormat>("format");
    QTest::addColumn<bool>("empty"); // no songs at all
    QTest::addColumn<QByteArray>("expected");

    const QByteArray longStem = (u"吴喆 - "_s + QString(57, u'晴')).toUtf8(); // 180 bytes
    const QByteArray longLabel = (u"吴喆 - "_s + LongTitle).toUtf8();

    QTest::newRow("lst") << ListFormat::Lst << false
                         << QByteArray("http://h/files/101.mp3\r\n"
                                       "http://h/get?id=102\r\n"
                                       "http://h/\xe9\x46/103.WMA\r\n"
                                       "http://h/files/104.mp3\r\n"
                                       "http://h/files/105.mp3\r\n"
                                       "http://h/files/106.mp3\r\n"
                                       "http://h/files/107.mp3\r\n"
                                       "//By Tolvane\r\n");
    QTest::newRow("urls") << ListFormat::Urls << false
                          << QByteArray("http://h/files/101.mp3\n"
                                        "http://h/get?id=102\n"
                                        "http://h/镕/103.WMA\n"
                                        "http://h/files/104.mp3\n"
                                        "http://h/files/105.mp3\n"
                                        "http://h/files/106.mp3\n"
                                        "http://h/files/107.mp3\n");
    QTest::newRow("aria2") << ListFormat::Aria2 << false
                           << QByteArray(
                                  "http://h/files/101.mp3\n  out=AC_DC - Back_ In _Black__.mp3\n"
                                  "http://h/get?id=102\n  out=102.mp3\n"
                                  "http://h/镕/103.WMA\n  out=Esc_ - Line__Two_Tab.WMA\n"
                                  "http://h/files/104.mp3\n  out=" +
                                  longStem +
                                  ".mp3\n"
                                  "http://h/files/105.mp3\n  out=李堃 - Same.mp3\n"
                                  "http://h/files/106.mp3\n  out=李堃 - same (2).mp3\n"
                                  "http://h/files/107.mp3\n  out=_107.mp3\n");
    QTest::newRow("m3u8") << ListFormat::M3u8 << false
                          << QByteArray(
                                 "#EXTM3U\n"
                                 "#EXTINF:-1,AC/DC - Back: In \"Black\"?\nhttp://h/files/101.mp3\n"
                                 "#EXTINF:-1,..\nhttp://h/get?id=102\n"
                                 "#EXTINF:-1,Esc  - Line  Two Tab\nhttp://h/镕/103.WMA\n"
                                 "#EXTINF:-1," +
                                 longLabel +
                                 "\nhttp://h/files/104.mp3\n"
                                 "#EXTINF:-1,李堃 - Same\nhttp://h/files/105.mp3\n"
                                 "#EXTINF:-1,李堃 - same\nhttp://h/files/106.mp3\n"
                                 "#EXTINF:-1,.\nhttp://h/files/107.mp3\n");
    QTest::newRow("json")
        << ListFormat::Json << false
        << QByteArray(
               "{\"songs\": [" +
               jsonSong(1, "101", "Back: In \\\"Black\\\"?", "AC/DC", "http://h/files/101.mp3") +
               ", " + jsonSong(2, "102", "..", "", "http://h/get?id=102") + ", " +
               jsonSong(4, "103", "Line\\r\\nTwo\\tTab", "Esc\\u001b", "http://h/镕/103.WMA") +
               ", " + jsonSong(5, "104", LongTitle.toUtf8(), "吴喆", "http://h/files/104.mp3") +
               ", " + jsonSong(6, "105", "Same", "李堃", "http://h/files/105.mp3") + ", " +
               jsonSong(7, "106", "same ", "李堃", "http://h/files/106.mp3") + ", " +
               jsonSong(8, "../107", "", " . ", "http://h/files/107.mp3") + "]}\n");

    QTest::newRow("lst, no songs: the trailer only")
        << ListFormat::Lst << true << QByteArray("//By Tolvane\r\n");
    QTest::newRow("urls, no songs") << ListFormat::Urls << true << QByteArray();
    QTest::newRow("aria2, no songs") << ListFormat::Aria2 << true << QByteArray();
    QTest::newRow("m3u8, no songs") << ListFormat::M3u8 << true << QByteArray("#EXTM3U\n");
    QTest::newRow("json, no songs") << ListFormat::Json << true << QByteArray("{\"songs\": []}\n");
}

void TestExportFormats::bytes()
{
    QFETCH(ListFormat, format);
    QFETCH(bool, empty);
    QFETCH(QByteArray, expected);
    QString error;
    const std::optional<QByteArray> bytes =
        ListFormats::encode(format, empty ? std::vector<ListEntry>() : hostilePage(), &error);
    QVERIFY2(bytes, qPrintable(error));
    QCOMPARE(*bytes, expected);
}

void TestExportFormats::refused_data()
{
    QTest::addColumn<ListFormat>("format");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("written");
    for (const ListFormat format : {ListFormat::Lst, ListFormat::Urls, ListFormat::Aria2,
                                    ListFormat::M3u8, ListFormat::Json}) {
        const QByteArray name = ListFormats::name(format).toLatin1();
        QTest::addRow("%s, line feed", name.constData())
            << format << u"http://h/a\nhttp://evil/"_s << false;
        QTest::addRow("%s, carriage return", name.constData())
            << format << u"http://h/a\r"_s << false;
        // Only the list file is GBK.
        QTest::addRow("%s, outside GBK", name.constData())
            << format << u"http://h/\U0001F600.mp3"_s << (format != ListFormat::Lst);
    }
}

void TestExportFormats::refused()
{
    QFETCH(ListFormat, format);
    QFETCH(QString, address);
    QFETCH(bool, written);
    QString error;
    const std::vector<ListEntry> entries{entry(1, u"1"_s, u"A"_s, u"B"_s, u"http://h/ok"_s),
                                         entry(2, u"2"_s, u"A"_s, u"C"_s, address)};
    QCOMPARE(ListFormats::encode(format, entries, &error).has_value(), written);
    QCOMPARE(error.isEmpty(), written);
}

void TestExportFormats::safeName_data()
{
    Test::addColumns<QString, QString, QString, QString, QString>(
        {"singer", "title", "songId", "address", "expected"});
    const QString mp3 = u"http://h/files/1.mp3"_s;

    QTest::newRow("singer and title")
        << u"周一鸣"_s << u"月光"_s << u"1"_s << mp3 << u"周一鸣 - 月光.mp3"_s;
    QTest::newRow("title alone") << QString() << u"月光"_s << u"1"_s << mp3 << u"月光.mp3"_s;
    QTest::newRow("singer alone") << u"周一鸣"_s << u"  "_s << u"1"_s << mp3 << u"周一鸣.mp3"_s;
    QTest::newRow("every forbidden character") << u"a/b\\c:d*e?f\"g<h>i|j"_s << u"k"_s << u"1"_s
                                               << mp3 << u"a_b_c_d_e_f_g_h_i_j - k.mp3"_s;
    QTest::newRow("control characters") << QString()
                                        << u"a\x01"
                                           "b\x7f"
                                           "c\u0085"
                                           "d\x1b"_s
                                        << u"1"_s << mp3 << u"a_b_c_d_.mp3"_s;
    QTest::newRow("an unpaired surrogate")
        << QString() << u"a"_s + QChar(0xD800) + u"b"_s << u"1"_s << mp3 << u"a_b.mp3"_s;
    QTest::newRow("blanks and dots at the ends")
        << QString() << u" ..Hidden.. name. "_s << u"1"_s << mp3 << u"Hidden.. name.mp3"_s;
    QTest::newRow("ideographic blanks")
        << QString() << u"\u3000歌\u3000"_s << u"1"_s << mp3 << u"歌.mp3"_s;
    QTest::newRow("dots alone: the id") << QString() << u".."_s << u"55"_s << mp3 << u"55.mp3"_s;
    QTest::newRow("a slash alone is a name") << QString() << u"/"_s << u"55"_s << mp3 << u"_.mp3"_s;
    QTest::newRow("an id that climbs folders")
        << QString() << QString() << u"../../etc/passwd"_s << mp3 << u"_.._etc_passwd.mp3"_s;
    QTest::newRow("nothing at all") << u" "_s << u"."_s << u".."_s << mp3 << u"song.mp3"_s;
    QTest::newRow("180 bytes of ASCII")
        << QString() << QString(200, u'a') << u"1"_s << mp3 << QString(180, u'a') + u".mp3"_s;
    QTest::newRow("cut before a character of 3 bytes")
        << QString() << u"a"_s + LongTitle << u"1"_s << mp3
        << u"a"_s + QString(59, u'晴') + u".mp3"_s;
    QTest::newRow("cut before a character of 4 bytes")
        << QString() << QString(178, u'a') + u"\U0001F600"_s << u"1"_s << mp3
        << QString(178, u'a') + u".mp3"_s;
    QTest::newRow("a character of 4 bytes that fits")
        << QString() << QString(176, u'a') + u"\U0001F600"_s << u"1"_s << mp3
        << QString(176, u'a') + u"\U0001F600.mp3"_s;
    QTest::newRow("cut, then trimmed") << QString() << QString(179, u'a') + u" b"_s << u"1"_s << mp3
                                       << QString(179, u'a') + u".mp3"_s;

    const auto extension = [](const char *name, const QString &address, const QString &expected) {
        QTest::newRow(name) << u"S"_s << u"T"_s << u"1"_s << address << u"S - T."_s + expected;
    };
    extension("extension kept as written", u"http://h/a/b.M4A"_s, u"M4A"_s);
    extension("extension of the path, not the query", u"http://h/b.flac?x=1.zip"_s, u"flac"_s);
    extension("five characters", u"http://h/b.12345"_s, u"12345"_s);
    extension("six characters", u"http://h/b.toolong"_s, u"mp3"_s);
    extension("not letters or digits", u"http://h/b.ab-c"_s, u"mp3"_s);
    extension("a dot at the end", u"http://h/b."_s, u"mp3"_s);
    extension("a dot in a folder only", u"http://h/dir.v2/file"_s, u"mp3"_s);
    extension("encoded name", u"http://h/%E6%AD%8C.ogg"_s, u"ogg"_s);
    extension("no address", QString(), u"mp3"_s);
}

void TestExportFormats::safeName()
{
    QFETCH(QString, singer);
    QFETCH(QString, title);
    QFETCH(QString, songId);
    QFETCH(QString, address);
    QFETCH(QString, expected);
    SongRecord song;
    song.singer = singer;
    song.title = title;
    song.songId = songId;
    song.downloadUrl = address;
    const QString name = SafeFileName::forSong(song);
    QCOMPARE(name, expected);
    QVERIFY(name.section(u'.', 0, -2).toUtf8().size() <= SafeFileName::MaxStemBytes);
    QCOMPARE(QDir::cleanPath(u"/downloads/"_s + name).section(u'/', 0, -2), u"/downloads"_s);
}

void TestExportFormats::namesOfAList_data()
{
    QTest::addColumn<QStringList>("titles"); // singer "A"; "TITLE|ADDRESS" for another address
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("repeats are numbered")
        << QStringList{u"B"_s, u"B"_s, u"C"_s, u"B"_s}
        << QStringList{u"A - B.mp3"_s, u"A - B (2).mp3"_s, u"A - C.mp3"_s, u"A - B (3).mp3"_s};
    QTest::newRow("letter case aside")
        << QStringList{u"b"_s, u"B"_s} << QStringList{u"A - b.mp3"_s, u"A - B (2).mp3"_s};
    QTest::newRow("a name that is already numbered")
        << QStringList{u"B"_s, u"B"_s, u"B (2)"_s}
        << QStringList{u"A - B.mp3"_s, u"A - B (2).mp3"_s, u"A - B (2) (2).mp3"_s};
    QTest::newRow("another extension is no repeat") << QStringList{u"B"_s, u"B|http://h/b.wma"_s}
                                                    << QStringList{u"A - B.mp3"_s, u"A - B.wma"_s};
    QTest::newRow("a long repeat stays within the limit")
        << QStringList{QString(200, u'b'), QString(200, u'b')}
        << QStringList{u"A - "_s + QString(176, u'b') + u".mp3"_s,
                       u"A - "_s + QString(172, u'b') + u" (2).mp3"_s};
}

void TestExportFormats::namesOfAList()
{
    QFETCH(QStringList, titles);
    QFETCH(QStringList, expected);
    std::vector<SongRecord> songs;
    for (const QString &title : titles) {
        SongRecord song;
        song.singer = u"A"_s;
        song.title = title.section(u'|', 0, 0);
        song.downloadUrl = title.contains(u'|') ? title.section(u'|', 1) : u"http://h/1.mp3"_s;
        songs.push_back(song);
    }
    QCOMPARE(SafeFileName::forList(songs), expected);
}

void TestExportFormats::archiveLeavesOut_data()
{
    QTest::addColumn<QByteArray>("file"); // "<missing>": no file
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("notListed");
    QTest::newRow("missing file is empty")
        << QByteArray("<missing>") << QStringList() << QStringList{u"1"_s, QString()};
    QTest::newRow("LF lines") << QByteArray("11\n12\n") << QStringList{u"11"_s, u"12"_s}
                              << QStringList{u"1"_s, u"112"_s};
    QTest::newRow("CR LF lines, blanks, no last line end")
        << QByteArray("11\r\n\r\n  12 \r\n13") << QStringList{u"11"_s, u"12"_s, u"13"_s, u" 13 "_s}
        << QStringList{QString(), u" "_s};
}

void TestExportFormats::archiveLeavesOut()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, notListed);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"archive.txt"_s);
    const std::optional<ExportArchive> archive = readArchive(path, file);
    QVERIFY(archive);
    for (const QString &id : listed)
        QVERIFY2(archive->contains(id), qPrintable(id));
    for (const QString &id : notListed)
        QVERIFY2(!archive->contains(id), qPrintable(id));
}

void TestExportFormats::archiveAdds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("to nothing") << QByteArray("<missing>") << QStringList{u"5"_s, u"3"_s}
                                << QByteArray("5\n3\n");
    QTest::newRow("after the old bytes, kept as they were")
        << QByteArray("1\r\n 2\r\n") << QStringList{u"3"_s} << QByteArray("1\r\n 2\r\n3\n");
    QTest::newRow("a line end added first")
        << QByteArray("1") << QStringList{u"2"_s} << QByteArray("1\n2\n");
    QTest::newRow("known and repeated ids once")
        << QByteArray("1\n") << QStringList{u"1"_s, u"2"_s, u"2"_s, u" 1"_s}
        << QByteArray("1\n2\n");
    QTest::newRow("ids that are no one line are left out")
        << QByteArray() << QStringList{u"a\nb"_s, QString(), u"c\x01"_s, u"d\u2028x"_s, u"e"_s}
        << QByteArray("e\n");
}

void TestExportFormats::archiveAdds()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, written);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"archive.txt"_s);
    const std::optional<ExportArchive> archive = readArchive(path, file);
    QVERIFY(archive);
    QCOMPARE(archive->withAdded(written), expected);
    QCOMPARE(readAll(path), file); // only read
}

void TestExportFormats::archiveUnreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder") << u"folder"_s;
    QTest::newRow("a FIFO, which would block") << u"fifo"_s;
    QTest::newRow("a link to nowhere") << u"dangling"_s;
    QTest::newRow("too large") << u"large"_s;
}

void TestExportFormats::archiveUnreadable()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"archive"_s);
    if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(u"archive"_s));
    } else if (kind == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"dangling") {
        QVERIFY(QFile::link(dir.filePath(u"nowhere"_s), path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(ExportArchive::MaxBytes + 1)); // sparse: no disk taken
    }
    QString error;
    QVERIFY(!ExportArchive::read(path, &error).has_value());
    QVERIFY(!error.isEmpty());
}

QTEST_APPLESS_MAIN(TestExportFormats)
#include "tst_exportformats.moc"
