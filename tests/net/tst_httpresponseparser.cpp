#include <QTest>

#include "net/httpresponseparser.h"

using namespace Lumisong;
using State = HttpResponseParser::State;

Q_DECLARE_METATYPE(Lumisong::HttpResponseParser::State)

namespace {

struct Parsed
{
    State state;
    int status;
    QByteArray body;
    bool reusable;
};

// Feeds the bytes in pieces of `step` bytes (0: all at once), then the end of
// the connection when `close` is set.
Parsed parse(const QByteArray &bytes, qsizetype step, bool close, qint64 maxBody = 1000)
{
    HttpResponseParser parser(maxBody);
    if (step <= 0) {
        parser.feed(bytes);
    } else {
        for (qsizetype at = 0; at < bytes.size(); at += step)
            parser.feed(QByteArrayView(bytes).sliced(at, qMin(step, bytes.size() - at)));
    }
    if (close)
        parser.endOfStream();
    return {parser.state(), parser.status(), parser.body(), parser.reusable()};
}

} // namespace

class TestHttpResponseParser final : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void headersByName();
    void nothingReceivedIsTold();
};

void TestHttpResponseParser::answers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("close");      // the connection ends after the bytes
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("reusable");

    QTest::newRow("length") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello") << false
                            << State::Complete << 200 << QByteArray("hello") << true;
    QTest::newRow("length, not yet all") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello")
                                         << false << State::Body << 200 << QByteArray("hello") << false;
    QTest::newRow("length, cut off by the close")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello") << true << State::Failed << 200
        << QByteArray() << false;
    QTest::newRow("empty body") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n") << false
                                << State::Complete << 200 << QByteArray() << true;
    QTest::newRow("LF line ends") << QByteArray("HTTP/1.1 200 OK\nContent-Length: 2\n\nok") << false
                                  << State::Complete << 200 << QByteArray("ok") << true;
    QTest::newRow("connection close") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok")
                                      << false << State::Complete << 200 << QByteArray("ok") << false;
    QTest::newRow("HTTP/1.0 closes") << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok")
                                     << false << State::Complete << 200 << QByteArray("ok") << false;
    QTest::newRow("HTTP/1.0 keep-alive") << QByteArray("HTTP/1.0 200 OK\r\nConnection: Keep-Alive\r\nContent-Length: 2\r\n\r\nok")
                                         << false << State::Complete << 200 << QByteArray("ok") << true;
    QTest::newRow("ends with the connection") << QByteArray("HTTP/1.1 200 OK\r\n\r\nuntil the end") << true
                                              << State::Complete << 200 << QByteArray("until the end") << false;
    QTest::newRow("no length, still open") << QByteArray("HTTP/1.1 200 OK\r\n\r\nso far") << false
                                           << State::Body << 200 << QByteArray("so far") << false;
    QTest::newRow("chunked") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                           "5\r\nhello\r\n1;ext=1\r\n,\r\nA\r\n world 123\r\n0\r\n\r\n")
                             << false << State::Complete << 200 << QByteArray("hello, world 123") << true;
    QTest::newRow("chunked with trailer") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                        "2\r\nok\r\n0\r\nX-Sum: 1\r\n\r\n")
                                          << false << State::Complete << 200 << QByteArray("ok") << true;
    QTest::newRow("chunked, cut off") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel")
                                      << true << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("chunked, bad size") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n")
                                       << false << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("chunked, data longer than said")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nokay\r\n0\r\n\r\n") << false
        << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("chunked beats length, not reused")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n")
        << false << State::Complete << 200 << QByteArray("ok") << false;
    QTest::newRow("interim answers skipped")
        << QByteArray("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: x\r\n\r\n"
                      "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
        << false << State::Complete << 200 << QByteArray("ok") << true;
    QTest::newRow("switching protocols") << QByteArray("HTTP/1.1 101 Switching\r\n\r\n") << false
                                         << State::Failed << 101 << QByteArray() << false;
    QTest::newRow("no content") << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << false << State::Complete
                                << 204 << QByteArray() << true;
    QTest::newRow("not found with a body") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone")
                                           << false << State::Complete << 404 << QByteArray("gone") << true;
    QTest::newRow("bytes after the answer") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokEXTRA")
                                            << false << State::Complete << 200 << QByteArray("ok") << false;
    QTest::newRow("declared over the limit") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1001\r\n\r\n")
                                             << false << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("undeclared over the limit") << QByteArray("HTTP/1.1 200 OK\r\n\r\n") + QByteArray(1001, 'x')
                                               << true << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("undeclared at the limit") << QByteArray("HTTP/1.1 200 OK\r\n\r\n") + QByteArray(1000, 'x')
                                             << true << State::Complete << 200 << QByteArray(1000, 'x') << false;
    QTest::newRow("chunks over the limit")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3E8\r\n") + QByteArray(1000, 'x')
               + "\r\n1\r\nx\r\n0\r\n\r\n"
        << false << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("same length twice") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 2\r\n\r\nok")
                                       << false << State::Complete << 200 << QByteArray("ok") << true;
    QTest::newRow("lengths that differ") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 2, 3\r\n\r\nok")
                                         << false << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("negative length") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n") << false
                                     << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("compressed, unasked") << QByteArray("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 2\r\n\r\nok")
                                         << false << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("not HTTP") << QByteArray("SSH-2.0-OpenSSH\r\n\r\n") << false << State::Failed << 0
                              << QByteArray() << false;
    QTest::newRow("HTTP/2 preface") << QByteArray("HTTP/2 200\r\n\r\n") << false << State::Failed << 0
                                    << QByteArray() << false;
    QTest::newRow("header without colon") << QByteArray("HTTP/1.1 200 OK\r\nbroken\r\n\r\n") << false
                                          << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("head never ends") << QByteArray("HTTP/1.1 200 OK\r\nX: ") + QByteArray(70000, 'a') << false
                                     << State::Failed << 200 << QByteArray() << false;
    QTest::newRow("closed inside the head") << QByteArray("HTTP/1.1 200 OK\r\nContent-") << true
                                            << State::Failed << 200 << QByteArray() << false;
}

void TestHttpResponseParser::answers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, close);
    QFETCH(State, state);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, reusable);
    // Byte by byte, in odd pieces and all at once: the same answer.
    for (const qsizetype step : {qsizetype(1), qsizetype(7), qsizetype(0)}) {
        const Parsed parsed = parse(bytes, step, close);
        QCOMPARE(parsed.state, state);
        QCOMPARE(parsed.status, status);
        QCOMPARE(parsed.body, body);
        QCOMPARE(parsed.reusable, reusable);
    }
}

void TestHttpResponseParser::headersByName()
{
    HttpResponseParser parser;
    parser.feed("HTTP/1.1 302 Found\r\nLOCATION:  /next \r\nX-Long: a\r\n  b\r\nContent-Length: 0\r\n\r\n");
    QCOMPARE(parser.state(), State::Complete);
    QCOMPARE(parser.header("Location"), QByteArray("/next"));
    QCOMPARE(parser.header("x-long"), QByteArray("a b")); // a folded line joins its header
    QCOMPARE(parser.header("missing"), QByteArray());
    QCOMPARE(parser.declaredLength(), 0);
}

void TestHttpResponseParser::nothingReceivedIsTold()
{
    // A connection that ends without a byte is how a server's closing of a
    // kept-alive connection shows; anything received rules that out.
    HttpResponseParser silent;
    silent.endOfStream();
    QCOMPARE(silent.state(), State::Failed);
    QVERIFY(!silent.receivedAnything());
    HttpResponseParser started;
    started.feed("H");
    started.endOfStream();
    QCOMPARE(started.state(), State::Failed);
    QVERIFY(started.receivedAnything());
}

QTEST_APPLESS_MAIN(TestHttpResponseParser)
#include "tst_httpresponseparser.moc"
