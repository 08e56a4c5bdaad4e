#include <QTest>

#include <cstdio>

#include "cli/consoleprogress.h"

using namespace Lumisong;

class TestConsoleProgress final : public QObject
{
    Q_OBJECT

private slots:
    void output_data();
    void output();
};

void TestConsoleProgress::output_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<int>("total");
    QTest::addColumn<QByteArray>("expected");
    // Updates in quick succession are not drawn: only the start and the end show.
    QTest::newRow("terminal redraws one line")
        << true << 4
        << QByteArray("\r[------------------------------] 0/4\r[##############################] 4/4\n");
    QTest::newRow("file gets plain lines")
        << false << 4
        << QByteArray("resolving download addresses: 0/4\nresolving download addresses: 4/4\n");
    QTest::newRow("nothing to do") << false << 0
                                   << QByteArray("resolving download addresses: 0/0\n");
}

void TestConsoleProgress::output()
{
    QFETCH(bool, terminal);
    QFETCH(int, total);
    QFETCH(QByteArray, expected);
    std::FILE *stream = std::tmpfile();
    QVERIFY(stream);
    {
        ConsoleProgress progress(stream, terminal);
        progress.start(total);
        for (int done = 1; done < total; ++done)
            progress.update(done);
        progress.finish(total);
    }
    const long size = std::ftell(stream);
    std::rewind(stream);
    QByteArray written(size, '\0');
    QCOMPARE(std::fread(written.data(), 1, size_t(size), stream), size_t(size));
    std::fclose(stream);
    QCOMPARE(written, expected);
}

QTEST_APPLESS_MAIN(TestConsoleProgress)
#include "tst_consoleprogress.moc"
