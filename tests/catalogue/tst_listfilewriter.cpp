#include "catalogue/addressanswer.h"
#include "catalogue/listfilewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lumisong;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestListFileWriter final : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void unwritableLines_data();
    void unwritableLines();
    void replacesWholeFileAndLeavesNoTemporary();
    void failureLeavesTargetAsItWas();
    void answer_data();
    void answer();
};

void TestListFileWriter::bytes_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no songs: trailer only") << QStringList() << QByteArray("//By Tolvane\r\n");
    QTest::newRow("two addresses in order")
        << QStringList{QStringLiteral("http://h/b.mp3"), QStringLiteral("http://h/a.mp3")}
        << QByteArray("http://h/b.mp3\r\nhttp://h/a.mp3\r\n//By Tolvane\r\n");
    QTest::newRow("chinese written in GBK")
        << QStringList{QStringLiteral("http://h/月亮.mp3")}
        << QByteArray("http://h/\xD4\xC2\xC1\xC1.mp3\r\n//By Tolvane\r\n");
}

void TestListFileWriter::bytes()
{
    QFETCH(QStringList, addresses);
    QFETCH(QByteArray, expected);
    QCOMPARE(ListFileWriter::encode(addresses).value_or("<refused>"), expected);
}

void TestListFileWriter::unwritableLines_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("line feed") << QStringLiteral("http://h/a\nhttp://evil/");
    QTest::newRow("carriage return") << QStringLiteral("http://h/a\r");
    QTest::newRow("outside GBK") << QStringLiteral("http://h/\U0001F600.mp3");
}

void TestListFileWriter::unwritableLines()
{
    QFETCH(QString, address);
    QVERIFY(!ListFileWriter::encode({QStringLiteral("http://h/ok"), address}).has_value());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.lst"));
    writeBytes(path, "old contents");
    ListFileWriter writer(path);
    QVERIFY(!writer.write({address}));
    QCOMPARE(readAll(path), QByteArray("old contents"));
}

void TestListFileWriter::replacesWholeFileAndLeavesNoTemporary()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("百度新歌下载列表.lst"));
    writeBytes(path, QByteArray(4096, 'x')); // longer than the new list: no tail may survive
    ListFileWriter writer(path);
    QVERIFY(writer.canWrite());
    QVERIFY(writer.write({QStringLiteral("http://h/1.mp3")}));
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
    ListFileWriter writer(blocked);
    QVERIFY(!writer.write({QStringLiteral("http://h/1.mp3")}));
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY(QFileInfo(blocked).isDir());

    // A folder that does not exist: nothing is created.
    ListFileWriter missing(dir.filePath(QStringLiteral("no/such/list.lst")));
    QVERIFY(!missing.canWrite());
    QVERIFY(!missing.write({}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("blocked.lst")});
}

void TestListFileWriter::answer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected"); // "<failed>" for a failed resolution
    const QString failed = QStringLiteral("<failed>");
    QTest::newRow("plain") << QStringLiteral("/data/1.mp3") << QStringLiteral("/data/1.mp3");
    QTest::newRow("trailing CR LF") << QStringLiteral("/data/1.mp3\r\n") << QStringLiteral("/data/1.mp3");
    QTest::newRow("blanks around") << QStringLiteral(" \t/data/1.mp3  \n") << QStringLiteral("/data/1.mp3");
    QTest::newRow("inner blank kept") << QStringLiteral("/data/a b.mp3") << QStringLiteral("/data/a b.mp3");
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
