#include "menu/searchaddress.h"
#include "tests/support/datacolumns.h"

#include <QTest>

using namespace Lumisong;

class TestSearchAddress final : public QObject
{
    Q_OBJECT

private slots:
    void address_data();
    void address();
};

void TestSearchAddress::address_data()
{
    Test::addColumns<SearchAddress::Site, QString, QString, QByteArray>(
        {"site", "title", "singer", "expected"});

    QTest::newRow("google plain")
        << SearchAddress::Site::Google << QStringLiteral("Yesterday") << QStringLiteral("Beatles")
        << QByteArray("http://www.google.com/search?hl=zh-CN&newwindow=1&q=Yesterday%20Beatles"
                      "&btn=Lumisong(Tolvane)&ie=gb2312");
    // Google reads an undeclared query as UTF-8; it is told the GBK it gets.
    QTest::newRow("google chinese in GBK, charset declared")
        << SearchAddress::Site::Google << QStringLiteral("月光") << QStringLiteral("王菲")
        << QByteArray("http://www.google.com/search?hl=zh-CN&newwindow=1&q=%D4%C2%B9%E2%20%CD%F5%B7%C6"
                      "&btn=Lumisong(Tolvane)&ie=gb2312");
    QTest::newRow("baidu chinese in GBK")
        << SearchAddress::Site::Baidu << QStringLiteral("月亮") << QStringLiteral("王菲")
        << QByteArray("http://www.baidu.com/s?word=%D4%C2%C1%C1%20%CD%F5%B7%C6&tn=Lumisong(Tolvane)");
    QTest::newRow("mp3 reserved characters stay inside the terms")
        << SearchAddress::Site::BaiduMp3 << QStringLiteral("A&B#C?D+E%F=G") << QStringLiteral("x y")
        << QByteArray("http://mp3.baidu.com/m?&word=A%26B%23C%3FD%2BE%25F%3DG%20x%20y"
                      "&tn=Lumisong(Tolvane)");
    QTest::newRow("injection attempt stays one term")
        << SearchAddress::Site::Baidu << QStringLiteral("t&tn=evil") << QString()
        << QByteArray("http://www.baidu.com/s?word=t%26tn%3Devil%20&tn=Lumisong(Tolvane)");
    QTest::newRow("empty title and singer")
        << SearchAddress::Site::Google << QString() << QString()
        << QByteArray("http://www.google.com/search?hl=zh-CN&newwindow=1&q=%20&btn=Lumisong(Tolvane)&ie=gb2312");
    QTest::newRow("unreserved punctuation kept")
        << SearchAddress::Site::Baidu << QStringLiteral("a-b.c_d~e") << QStringLiteral("Z9")
        << QByteArray("http://www.baidu.com/s?word=a-b.c_d~e%20Z9&tn=Lumisong(Tolvane)");
}

void TestSearchAddress::address()
{
    QFETCH(SearchAddress::Site, site);
    QFETCH(QString, title);
    QFETCH(QString, singer);
    QFETCH(QByteArray, expected);
    const QUrl url = SearchAddress::forSong(site, title, singer);
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), expected);
    // The query splits into exactly the fixed parameters plus the terms.
    const int separators = int(expected.count('&'));
    QCOMPARE(url.toEncoded().count('&'), separators);
}

QTEST_APPLESS_MAIN(TestSearchAddress)
#include "tst_searchaddress.moc"
