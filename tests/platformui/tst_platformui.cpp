#include "platform/ui/filesavedialog.h"
#include "tests/support/recordingshellopener.h"

#include <QTest>
#include <QUrl>

using namespace Lumisong;

class TestPlatformUi final : public QObject
{
    Q_OBJECT

private slots:
    void qtFilter_data();
    void qtFilter();
    void suffixFollowsTheType_data();
    void suffixFollowsTheType();
    void onlyWebAddressesAreOpened_data();
    void onlyWebAddressesAreOpened();
};

void TestPlatformUi::qtFilter_data()
{
    QTest::addColumn<QString>("pipeFilter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("list file filter")
        << QStringLiteral("列表文件(*.lst)|*.lst|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*")
        << QStringLiteral("列表文件(*.lst);;文本文件(*.txt);;所有文件(*.*)");
    QTest::newRow("description without pattern") << QStringLiteral("Lists|*.lst")
                                                  << QStringLiteral("Lists (*.lst)");
    QTest::newRow("several patterns") << QStringLiteral("Lists|*.lst;*.txt")
                                      << QStringLiteral("Lists (*.lst *.txt)");
    QTest::newRow("dangling description ignored") << QStringLiteral("Lists|*.lst|Other")
                                                  << QStringLiteral("Lists (*.lst)");
    QTest::newRow("empty") << QString() << QString();
}

void TestPlatformUi::qtFilter()
{
    QFETCH(QString, pipeFilter);
    QFETCH(QString, expected);
    QCOMPARE(FileSaveDialog::toQtFilter(pipeFilter), expected);
}

void TestPlatformUi::suffixFollowsTheType_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("list files") << QStringLiteral("列表文件(*.lst)") << QStringLiteral("lst");
    QTest::newRow("text files") << QStringLiteral("文本文件(*.txt)") << QStringLiteral("txt");
    QTest::newRow("all files keep the default") << QStringLiteral("所有文件(*.*)")
                                                << QStringLiteral("lst");
    QTest::newRow("several patterns keep the default") << QStringLiteral("Lists (*.lst *.txt)")
                                                       << QStringLiteral("lst");
    QTest::newRow("wildcard extension") << QStringLiteral("Logs (*.lo?)") << QStringLiteral("lst");
    QTest::newRow("two-part extension") << QStringLiteral("Archives (*.tar.gz)")
                                        << QStringLiteral("lst");
    QTest::newRow("no patterns") << QStringLiteral("Lists") << QStringLiteral("lst");
}

void TestPlatformUi::suffixFollowsTheType()
{
    QFETCH(QString, filter);
    QFETCH(QString, suffix);
    QCOMPARE(FileSaveDialog::suffixForFilter(filter, QStringLiteral("lst")), suffix);
}

void TestPlatformUi::onlyWebAddressesAreOpened_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("opened");
    QTest::newRow("http") << QStringLiteral("http://www.baidu.com/s?word=a") << true;
    QTest::newRow("https") << QStringLiteral("https://example.org/") << true;
    QTest::newRow("upper-case scheme") << QStringLiteral("HTTP://example.org/") << true;
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("program path") << QStringLiteral("/usr/bin/xterm") << false;
    QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
    QTest::newRow("mailto") << QStringLiteral("mailto:a@b.c") << false;
    QTest::newRow("ftp") << QStringLiteral("ftp://example.org/") << false;
    QTest::newRow("no host") << QStringLiteral("http:///path") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestPlatformUi::onlyWebAddressesAreOpened()
{
    QFETCH(QString, address);
    QFETCH(bool, opened);
    RecordingShellOpener opener;
    QCOMPARE(opener.open(QUrl(address)), opened);
    QCOMPARE(opener.opened().size(), opened ? 1 : 0);
}

QTEST_APPLESS_MAIN(TestPlatformUi)
#include "tst_platformui.moc"
