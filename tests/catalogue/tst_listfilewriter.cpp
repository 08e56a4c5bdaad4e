#include "catalogue/addressanswer.h"
#include "catalogue/listfilewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/catalogue/filebytes.h"

using namespace Lumisong;
using FileBytes::readAll;
using namespace Qt::StringLiterals;

class TestListFileWriter final : public QObject
{
    Q_OBJECT

private slots:
    void replacesWholeFileAndLeavesNoTemporary();
    void failureLeavesTargetAsItWas();
    void allFilesOrNone_data();
    void allFilesOrNone();
    void answer_data();
    void answer();
};

void TestListFileWriter::replacesWholeFileAndLeavesNoTemporary()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("百度新歌下载列表.lst"));
    FileBytes::write(path, QByteArray(4096, 'x')); // longer than the new list: no tail may survive
    ListFileWriter writer;
    QVERIFY(writer.canWrite(path));
    QVERIFY(writer.write({{path, "http://h/1.mp3\r\n//By Tolvane\r\n"}}));
    QCOMPARE(readAll(path), QByteArray("http://h/1.mp3\r\n//By Tolvane\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("百度新歌下载列表.lst")});
}

void TestListFileWriter::failureLeavesTargetAsItWas()
{
    QTemporaryDir dir;
    // A folder where the file should go: the file cannot be replaced.
    const QString blocked = dir.filePath(QStringLiteral("blocked.lst"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked.lst")));
    ListFileWriter writer;
    QVERIFY(!writer.write({{blocked, "http://h/1.mp3\r\n"}}));
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY(QFileInfo(blocked).isDir());

    // A folder that does not exist: nothing is created.
    const QString missing = dir.filePath(QStringLiteral("no/such/list.lst"));
    QVERIFY(!writer.canWrite(missing));
    QVERIFY(!writer.write({{missing, {}}}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("blocked.lst")});
}

// A list and its archive: when the second cannot take its place, the first
// is as it was, whether the second fails while written or while put in place.
void TestListFileWriter::allFilesOrNone_data()
{
    QTest::addColumn<bool>("listExisted");
    QTest::addColumn<QString>("archiveTarget");
    for (const bool existed : {true, false}) {
        const char *list = existed ? "old list" : "new list";
        QTest::addRow("%s, archive in a missing folder", list) << existed << u"no/such/archive"_s;
        QTest::addRow("%s, archive is a folder", list) << existed << u"folder"_s;
    }
}

void TestListFileWriter::allFilesOrNone()
{
    QFETCH(bool, listExisted);
    QFETCH(QString, archiveTarget);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    const QString list = dir.filePath(u"list.lst"_s);
    if (listExisted)
        FileBytes::write(list, "last week\r\n");
    ListFileWriter writer;
    QVERIFY(!writer.write({{list, "this week\r\n"}, {dir.filePath(archiveTarget), "1\n"}}));
    QCOMPARE(readAll(list), listExisted ? QByteArray("last week\r\n") : QByteArray("<missing>"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             listExisted ? QStringList({u"folder"_s, u"list.lst"_s}) : QStringList(u"folder"_s));

    QVERIFY(writer.write({{list, "this week\r\n"}, {dir.filePath(u"archive"_s), "1\n"}}));
    QCOMPARE(readAll(list), QByteArray("this week\r\n"));
    QCOMPARE(readAll(dir.filePath(u"archive"_s)), QByteArray("1\n"));
}

void TestListFileWriter::answer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected"); // "<failed>" for a failed resolution
    const QString failed = QStringLiteral("<failed>");
    QTest::newRow("plain") << QStringLiteral("/data/1.mp3") << QStringLiteral("/data/1.mp3");
    QTest::newRow("trailing CR LF") << QStringLiteral("/data/1.mp3\r\n") << QStringLiteral("/data/1.mp3");
    QTest::newRow("blanks around") << QStringLiteral(" \t/data/1.mp3  \n") << QStringLiteral("/data/1.mp3");
    QTest::newRow("query and escapes kept") << QStringLiteral("/get?sid=1&n=%20") << QStringLiteral("/get?sid=1&n=%20");
    QTest::newRow("GBK path kept") << QStringLiteral("/歌曲/晴天.mp3") << QStringLiteral("/歌曲/晴天.mp3");
    QTest::newRow("inner blank") << QStringLiteral("/data/a b.mp3") << failed;
    QTest::newRow("inner ideographic space") << QStringLiteral("/data/a\u3000b.mp3") << failed;
    QTest::newRow("a page") << QStringLiteral("<html>error</html>") << failed;
    QTest::newRow("another site") << QStringLiteral("http://evil.invalid/x.mp3") << failed;
    QTest::newRow("no leading slash") << QStringLiteral("data/1.mp3") << failed;
    for (const QChar c : QStringView(u"<>\"{}|\\^`"))
        QTest::addRow("holds %c", c.toLatin1()) << QStringLiteral("/a%1b.mp3").arg(c) << failed;
    QTest::newRow("empty") << QString() << failed;
    QTest::newRow("only blanks and breaks") << QStringLiteral(" \r\n\t") << failed;
    QTest::newRow("inner line break") << QStringLiteral("/a.mp3\r\nhttp://evil/") << failed;
    QTest::newRow("inner NUL") << QStringLiteral("/a") + QChar(0) + QStringLiteral("b") << failed;
    QTest::newRow("inner escape") << QStringLiteral("/a\x1b[2Jb") << failed;
    QTest::newRow("unicode line separator") << QStringLiteral("/a\u2028b") << failed;
}

void TestListFileWriter::answer()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    QCOMPARE(addressFromAnswer(answer).value_or(QStringLiteral("<failed>")), expected);
}

QTEST_APPLESS_MAIN(TestListFileWriter)
#include "tst_listfilewriter.moc"
