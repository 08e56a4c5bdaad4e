#include "tests/support/loadnow.h"
#include "catalogue/catalogue.h"
#include "menu/addresscopy.h"
#include "menu/frmmenu.h"
#include "net/fetchlimits.h"
#include "tests/support/memoryclipboard.h"
#include "tests/support/recordingshellopener.h"
#include "tools/demosite/demosite.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace Lumisong;

class TestFrmMenu final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuTree();
    void copyField_data();
    void copyField();
    void copyAddressAsksOnceThenUsesTheKnownAddress();
    void failedAddressLeavesClipboardAndSaysSo();
    void search_data();
    void search();
    void noSongNoCommand();

private:
    QString addressTarget(int slot) const;

    std::unique_ptr<DemoSite> m_site;
    std::unique_ptr<Catalogue> m_catalogue;
    MemoryClipboard m_clipboard;
    std::unique_ptr<RecordingShellOpener> m_opener;
    int m_currentSong = 0;
    std::unique_ptr<frmMenu> m_menu;
};

void TestFrmMenu::init()
{
    FetchLimits limits;
    limits.idleTimeoutMs = 3000;
    setFetchLimits(limits);
    m_site = std::make_unique<DemoSite>(3);
    QVERIFY(m_site->listen());
    m_catalogue = std::make_unique<Catalogue>(m_site->baseUrl());
    QCOMPARE(Test::loadNow(*m_catalogue).count, 3);
    m_site->resetCounters();
    m_clipboard = MemoryClipboard();
    m_currentSong = 1;
    m_opener = std::make_unique<RecordingShellOpener>();
    m_menu = std::make_unique<frmMenu>(*m_catalogue, [this] { return m_currentSong; }, m_clipboard,
                                       *m_opener);
}

void TestFrmMenu::cleanup()
{
    m_menu.reset();
    m_catalogue.reset();
    m_site.reset();
}

QString TestFrmMenu::addressTarget(int slot) const
{
    return m_site->addressTarget(m_catalogue->song(slot).songId);
}

void TestFrmMenu::menuTree()
{
    QVERIFY(!m_menu->isVisible());
    QCOMPARE(m_menu->mnuRight()->objectName(), QStringLiteral("mnuRight"));
    QCOMPARE(m_menu->mnuRight()->title(), QStringLiteral("右键"));

    // name, caption ("-" for a separator), for each item in display order
    const QList<QStringList> expected = {
        {QStringLiteral("mnuCopy"), QStringLiteral("复制(&C)")},
        {QStringLiteral("mnuCopyTitle"), QStringLiteral("歌曲名(&T)")},
        {QStringLiteral("mnuCopySinger"), QStringLiteral("歌手名(&S)")},
        {QStringLiteral("mnuCopyAlbum"), QStringLiteral("专辑名(&A)")},
        {QStringLiteral("mnuCopyFg"), QStringLiteral("-")},
        {QStringLiteral("mnuCopyURL"), QStringLiteral("下载地址(&U)")},
        {QStringLiteral("mnuSearch"), QStringLiteral("搜索(&S)")},
        {QStringLiteral("mnuSearchGoogle"), QStringLiteral("在Google中搜索")},
        {QStringLiteral("mnuSearchBaidu"), QStringLiteral("在百度中搜索(&B)")},
        {QStringLiteral("mnuSearchBaiduMP3"), QStringLiteral("在百度MP3中搜索(&M)")},
    };
    QList<QStringList> actual;
    for (QAction *top : m_menu->mnuRight()->actions()) {
        QVERIFY(top->menu());
        actual << QStringList{top->objectName(), top->text()};
        for (QAction *item : top->menu()->actions())
            actual << QStringList{item->objectName(),
                                  item->isSeparator() ? QStringLiteral("-") : item->text()};
    }
    QCOMPARE(actual, expected);
}

void TestFrmMenu::copyField_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("value");
    QTest::newRow("title") << QStringLiteral("mnuCopyTitle") << QStringLiteral("月亮 & 六便士");
    QTest::newRow("singer") << QStringLiteral("mnuCopySinger") << QStringLiteral("王菲");
    QTest::newRow("album") << QStringLiteral("mnuCopyAlbum") << QStringLiteral("Album #1");
    QTest::newRow("empty title leaves an empty clipboard") << QStringLiteral("mnuCopyTitle") << QString();
}

void TestFrmMenu::copyField()
{
    QFETCH(QString, command);
    QFETCH(QString, value);
    SongRecord &song = m_catalogue->song(1);
    song.title = song.singer = song.album = value;
    m_clipboard.setText(QStringLiteral("old"));
    m_menu->action(command)->trigger();
    QCOMPARE(m_clipboard.text(), value);
    QCOMPARE(m_site->totalRequests(), 0);
}

void TestFrmMenu::copyAddressAsksOnceThenUsesTheKnownAddress()
{
    const QString expected = m_site->baseUrl() + DemoCatalogue::filePath(m_catalogue->song(1).songId);
    m_menu->action(QStringLiteral("mnuCopyURL"))->trigger();
    QTRY_COMPARE(m_clipboard.text(), expected);
    QCOMPARE(m_site->requestCount(addressTarget(1)), 1);

    m_clipboard.setText(QStringLiteral("something else"));
    m_menu->action(QStringLiteral("mnuCopyURL"))->trigger();
    QCOMPARE(m_clipboard.text(), expected);
    QCOMPARE(m_site->totalRequests(), 1);
}

void TestFrmMenu::failedAddressLeavesClipboardAndSaysSo()
{
    QSignalSpy status(m_menu.get(), &frmMenu::statusTextChanged);
    ScriptedAnswer empty; // an empty answer is no address
    m_site->setAnswer(addressTarget(1), empty);
    m_clipboard.setText(QStringLiteral("kept"));
    const int writes = m_clipboard.writeCount();

    m_menu->action(QStringLiteral("mnuCopyURL"))->trigger();
    QVERIFY(status.wait(10000));
    QCOMPARE(m_clipboard.text(), QStringLiteral("kept"));
    QCOMPARE(m_clipboard.writeCount(), writes);
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("获取下载地址失败，请检查网络..."));
    QVERIFY(m_catalogue->song(1).downloadUrl.isEmpty());

    // Nothing was cached: the next command asks again and succeeds.
    m_site->clearAnswers();
    m_menu->action(QStringLiteral("mnuCopyURL"))->trigger();
    QTRY_VERIFY(m_clipboard.writeCount() > writes);
    QCOMPARE(m_site->requestCount(addressTarget(1)), 2);
    QVERIFY(m_clipboard.text().endsWith(DemoCatalogue::filePath(m_catalogue->song(1).songId)));
}

void TestFrmMenu::search_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("google uses btn")
        << QStringLiteral("mnuSearchGoogle") << QStringLiteral("Hey Jude")
        << QByteArray("http://www.google.com/search?hl=zh-CN&newwindow=1&q=Hey%20Jude%20%CD%F5%B7%C6"
                      "&btn=Lumisong(Tolvane)&ie=gb2312");
    QTest::newRow("baidu keeps & inside the terms")
        << QStringLiteral("mnuSearchBaidu") << QStringLiteral("A&tn=x")
        << QByteArray("http://www.baidu.com/s?word=A%26tn%3Dx%20%CD%F5%B7%C6&tn=Lumisong(Tolvane)");
    QTest::newRow("baidu mp3 chinese")
        << QStringLiteral("mnuSearchBaiduMP3") << QStringLiteral("月亮")
        << QByteArray("http://mp3.baidu.com/m?&word=%D4%C2%C1%C1%20%CD%F5%B7%C6&tn=Lumisong(Tolvane)");
}

void TestFrmMenu::search()
{
    QFETCH(QString, command);
    QFETCH(QString, title);
    QFETCH(QByteArray, expected);
    m_catalogue->song(1).title = title;
    m_catalogue->song(1).singer = QStringLiteral("王菲");
    m_menu->action(command)->trigger();
    QCOMPARE(m_opener->opened().size(), 1);
    QCOMPARE(m_opener->opened().constFirst().toEncoded(), expected);
}

void TestFrmMenu::noSongNoCommand()
{
    m_currentSong = 3; // past the loaded songs
    m_clipboard.setText(QStringLiteral("kept"));
    for (const char *name : {"mnuCopyTitle", "mnuCopyURL", "mnuSearchBaidu"})
        m_menu->action(QLatin1String(name))->trigger();
    QCOMPARE(m_clipboard.text(), QStringLiteral("kept"));
    QVERIFY(m_opener->opened().isEmpty());
    QCOMPARE(m_site->totalRequests(), 0);
}

QTEST_MAIN(TestFrmMenu)
#include "tst_frmmenu.moc"
