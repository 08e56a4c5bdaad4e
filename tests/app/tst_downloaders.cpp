#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/programrun.h"
#include "tools/demosite/democatalogue.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

DemoCatalogue::Song song(const QString &songId, const QString &singer, const QString &title)
{
    return {songId, title, singer, u"专辑"_s, u"2010-04-27"_s, u"1"_s, u"2"_s};
}

// A page no download manager should trust: path characters, names of dots
// that climb, control characters, a 300-byte title, a name twice,
// characters only GBK has.
QList<DemoCatalogue::Song> hostileSongs()
{
    return {
        song(u"8000001"_s, u"AC/DC"_s, u"Back: In \"Black\"?"_s),
        song(u"8000002"_s, QString(), u".."_s),
        song(u"8000003"_s, u".."_s, u"../../escape"_s),
        song(u"8000004"_s, u"Tab\there"_s, u"Bell\x07"_s),
        song(u"8000005"_s, u"吴喆"_s, QString(100, u'晴')),
        song(u"8000006"_s, u"陆镕"_s, u"同名"_s),
        song(u"8000007"_s, u"陆镕"_s, u"同名"_s),
        song(u"8000008"_s, u"<李堃>"_s, u"a*b|c"_s),
    };
}

// The names aria2 is told to save them under, in the same order.
QStringList safeNames()
{
    return {
        u"AC_DC - Back_ In _Black__.mp3"_s,
        u"8000002.mp3"_s,
        u"- .._.._escape.mp3"_s,
        u"Tab_here - Bell_.mp3"_s,
        u"吴喆 - "_s + QString(57, u'晴') + u".mp3"_s,
        u"陆镕 - 同名.mp3"_s,
        u"陆镕 - 同名 (2).mp3"_s,
        u"_李堃_ - a_b_c.mp3"_s,
    };
}

// Every file under `folder`, by its path relative to it.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// The urls and aria2 lists fed to the real wget and aria2c against the demo site.
class TestDownloaders final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void downloaderSavesEverySong_data();
    void downloaderSavesEverySong();

private:
    // Exports the hostile page as `format` into `folder`.
    QString exportAs(const QString &format, const QString &folder);

    DemoSite m_site;
};

void TestDownloaders::init()
{
    m_site.setCatalogue(DemoCatalogue(hostileSongs()));
    QVERIFY(m_site.port() != 0 || m_site.listen());
}

QString TestDownloaders::exportAs(const QString &format, const QString &folder)
{
    const QString path = QDir(folder).filePath(u"list."_s + format);
    const Run run = runLumisong(
        {u"--site"_s, m_site.baseUrl(), u"--export"_s, path, u"--all"_s, u"--format"_s, format});
    if (run.exitCode != 0)
        qWarning("export: %s", run.err.constData());
    return run.exitCode == 0 ? path : QString();
}

void TestDownloaders::downloaderSavesEverySong_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("package"); // Debian's
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("names"); // the files saved, in the songs' order

    QStringList byAddress;
    for (const DemoCatalogue::Song &s : hostileSongs())
        byAddress << s.songId + u".mp3"_s; // wget names a file after its address

    // Quiet, one try each, and files never renamed aside; the last option
    // takes the download folder.
    const QStringList aria2Options{u"--no-conf"_s,
                                   u"--quiet"_s,
                                   u"--max-tries=1"_s,
                                   u"--timeout=20"_s,
                                   u"--auto-file-renaming=false"_s,
                                   u"--dir"_s};
    const QStringList wgetOptions{u"--no-config"_s, u"--quiet"_s, u"--tries=1"_s, u"--timeout=20"_s,
                                  u"--directory-prefix"_s};
    QTest::newRow("aria2c reads the aria2 list")
        << u"aria2c"_s << u"aria2"_s << u"aria2"_s << aria2Options << safeNames();
    QTest::newRow("wget reads the urls")
        << u"wget"_s << u"wget"_s << u"urls"_s << wgetOptions << byAddress;
}

void TestDownloaders::downloaderSavesEverySong()
{
    QFETCH(QString, tool);
    QFETCH(QString, package);
    QFETCH(QString, format);
    QFETCH(QStringList, options);
    QFETCH(QStringList, names);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + u" is not installed (Debian: "_s + package +
                         u"): its list is not tried for real"_s));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString list = exportAs(format, dir.path());
    QVERIFY(!list.isEmpty());
    const QString folder = dir.filePath(u"downloads"_s);
    const Run run = runProgram(program, options + QStringList{folder, u"--input-file"_s, list});
    QVERIFY2(run.exitCode == 0, QByteArray(run.out + run.err).constData());

    QStringList expected = names;
    expected.sort();
    QCOMPARE(filesUnder(folder), expected);
    for (qsizetype i = 0; i < hostileSongs().size(); ++i)
        QCOMPARE(readAll(QDir(folder).filePath(names.at(i))),
                 m_site.catalogue().fileContent(hostileSongs().at(i)));
    // Nothing landed beside the download folder and the list.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"downloads"_s, QFileInfo(list).fileName()}));
}

QTEST_GUILESS_MAIN(TestDownloaders)
#include "tst_downloaders.moc"
