#include "catalogue/aria2rpc.h"
#include "tests/support/datacolumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

QList<Aria2Rpc::Download> downloads(int count, qsizetype addressBytes = 30)
{
    QList<Aria2Rpc::Download> out;
    for (int i = 0; i < count; ++i) {
        const QString address = u"http://127.0.0.1/"_s + QString::number(i);
        out.append({address + QString(std::max<qsizetype>(0, addressBytes - address.size()), u'a'),
                    u"歌手 \"%1\"\t\\.mp3"_s.arg(i)});
    }
    return out;
}

// One answer per call, as the tests write them: "gid:ID" or "error:MESSAGE".
QStringList describe(const Aria2Rpc::Answer &answer)
{
    QStringList out;
    for (const Aria2Rpc::CallAnswer &call : answer.calls)
        out << (call.accepted() ? u"gid:"_s + call.gid : u"error:"_s + call.error);
    return out;
}

} // namespace

class TestAria2Rpc final : public QObject
{
    Q_OBJECT

private slots:
    void requestsCarryEverySongInOrder_data();
    void requestsCarryEverySongInOrder();
    void answersAreReadCallByCall_data();
    void answersAreReadCallByCall();
    void gidNamesSiteAndSong();
};

void TestAria2Rpc::requestsCarryEverySongInOrder_data()
{
    Test::addColumns<int, qsizetype, QString, QString>({"count", "addressBytes", "secret", "dir"});
    QTest::addColumn<QList<int>>("sizes"); // calls per request; empty: refused

    QTest::newRow("one song, no token, aria2's folder") << 1 << qsizetype(30) << QString() << QString()
                                                         << QList<int>{1};
    QTest::newRow("no song, no request") << 0 << qsizetype(30) << u"s"_s << QString() << QList<int>{};
    QTest::newRow("100 calls at most per request")
        << 250 << qsizetype(30) << u"sec\"ret"_s << u"/srv/音乐"_s << QList<int>{100, 100, 50};
    QTest::newRow("no request above aria2's 2 MiB")
        << 100 << qsizetype(30000) << u"s"_s << QString() << QList<int>{69, 31};
    QTest::newRow("a song too large alone") << 1 << qsizetype(3 << 20) << u"s"_s << QString()
                                            << QList<int>();
}

void TestAria2Rpc::requestsCarryEverySongInOrder()
{
    QFETCH(int, count);
    QFETCH(qsizetype, addressBytes);
    QFETCH(QString, secret);
    QFETCH(QString, dir);
    QFETCH(QList<int>, sizes);
    const QList<Aria2Rpc::Download> songs = downloads(count, addressBytes);
    QString error;
    const std::optional<QList<Aria2Rpc::Request>> requests =
        Aria2Rpc::requests(songs, secret, dir, &error);
    if (count > 0 && sizes.isEmpty()) {
        QVERIFY(!requests);
        QVERIFY(!error.isEmpty());
        return;
    }
    QVERIFY(requests);
    QList<int> seen;
    QSet<QByteArray> ids;
    qsizetype next = 0;
    for (const Aria2Rpc::Request &request : *requests) {
        QVERIFY(request.body.size() <= Aria2Rpc::MaxRequestBytes);
        const QJsonObject rpc = QJsonDocument::fromJson(request.body).object();
        QCOMPARE(rpc.value(u"jsonrpc"_s).toString(), u"2.0"_s);
        QCOMPARE(rpc.value(u"method"_s).toString(), u"system.multicall"_s);
        QCOMPARE(rpc.value(u"id"_s).toString().toUtf8(), request.id);
        ids.insert(request.id);
        QCOMPARE(request.first, next);
        const QJsonArray calls = rpc.value(u"params"_s).toArray().at(0).toArray();
        QCOMPARE(calls.size(), request.count);
        for (const QJsonValue &value : calls) {
            const Aria2Rpc::Download &song = songs.at(next++);
            QCOMPARE(value[u"methodName"_s].toString(), u"aria2.addUri"_s);
            QJsonArray params = value[u"params"_s].toArray();
            // aria2 checks the token of each call: every one carries it first.
            if (!secret.isEmpty())
                QCOMPARE(params.takeAt(0).toString(), u"token:"_s + secret);
            QCOMPARE(params.size(), 2);
            QCOMPARE(params.at(0).toArray(), QJsonArray{song.address});
            QJsonObject options{{u"out"_s, song.fileName}};
            if (!dir.isEmpty())
                options.insert(u"dir"_s, dir);
            QCOMPARE(params.at(1).toObject(), options);
        }
        seen << int(request.count);
    }
    QCOMPARE(seen, sizes);
    QCOMPARE(ids.size(), requests->size());
}

void TestAria2Rpc::answersAreReadCallByCall_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("calls");
    QTest::addColumn<QString>("error"); // of the whole request; a prefix, null: none
    QTest::addColumn<QStringList>("answers");

    const QByteArray head = R"({"jsonrpc":"2.0","id":"lumisong-1","result":)";
    QTest::newRow("every call taken")
        << head + R"([["2089b05ecca3d829"],["0000000000000001"]]})" << 2 << QString()
        << QStringList{u"gid:2089b05ecca3d829"_s, u"gid:0000000000000001"_s};
    QTest::newRow("one call refused, on one line")
        << head + R"([["2089b05ecca3d829"],{"code":1,"message":"Unauthorized\n\u001b[31m"}]})" << 2
        << QString() << QStringList{u"gid:2089b05ecca3d829"_s, u"error:Unauthorized  [31m"_s};
    QTest::newRow("a refusal without message")
        << head + R"([{"code":7}]})" << 1 << QString() << QStringList{u"error:error code 7"_s};
    QTest::newRow("no download id")
        << head + R"([["not-a-gid\tX"]]})" << 1 << QString()
        << QStringList{u"error:an answer that names no download"_s};
    QTest::newRow("error answer, no id") << QByteArray(R"({"jsonrpc":"2.0","id":null,"error":{"code":1,"message":"Unauthorized"}})")
                                         << 1 << u"Unauthorized"_s << QStringList();
    QTest::newRow("not JSON") << QByteArray("<html>502</html>") << 1
                              << u"the answer is not JSON-RPC"_s << QStringList();
    QTest::newRow("empty") << QByteArray() << 1 << u"the answer is not JSON-RPC"_s << QStringList();
    QTest::newRow("not 2.0") << QByteArray(R"({"id":"lumisong-1","result":[["2089b05ecca3d829"]]})")
                             << 1 << u"the answer is not JSON-RPC 2.0"_s << QStringList();
    QTest::newRow("another request's answer")
        << QByteArray(R"({"jsonrpc":"2.0","id":"lumisong-2","result":[["2089b05ecca3d829"]]})") << 1
        << u"the answer is not the one to this request"_s << QStringList();
    QTest::newRow("a call left unanswered") << head + R"([["2089b05ecca3d829"]]})" << 2
                                            << u"the answer does not answer each"_s << QStringList();
    QTest::newRow("a download's status")
        << head + R"([[{"gid":"2089b05ecca3d829","status":"complete"}],{"code":1,"message":"GID 0000000000000007 is not found"}]})"
        << 2 << QString()
        << QStringList{u"gid:2089b05ecca3d829"_s, u"error:GID 0000000000000007 is not found"_s};
}

void TestAria2Rpc::gidNamesSiteAndSong()
{
    const QString gid = Aria2Rpc::gidFor(u"http://songs.example"_s, u"8000001"_s);
    QVERIFY2(QRegularExpression(u"^[0-9a-f]{16}$"_s).match(gid).hasMatch(), qPrintable(gid));
    QVERIFY(gid != QString(16, u'0'));
    QCOMPARE(Aria2Rpc::gidFor(u"http://songs.example"_s, u"8000001"_s), gid);
    QVERIFY(Aria2Rpc::gidFor(u"http://songs.example"_s, u"8000002"_s) != gid);
    QVERIFY(Aria2Rpc::gidFor(u"https://songs.example"_s, u"8000001"_s) != gid);
    // aria2 is told the id with each song.
    QString error;
    const auto requests = Aria2Rpc::requests({{u"http://songs.example/1.mp3"_s, u"a.mp3"_s, gid}},
                                             QString(), QString(), &error);
    QVERIFY(requests && requests->size() == 1);
    const QByteArray option = "\"gid\":\"" + gid.toLatin1() + '"';
    QVERIFY(requests->first().body.contains(option));
}

void TestAria2Rpc::answersAreReadCallByCall()
{
    QFETCH(QByteArray, body);
    QFETCH(int, calls);
    QFETCH(QString, error);
    QFETCH(QStringList, answers);
    Aria2Rpc::Request request;
    request.id = "lumisong-1";
    request.count = calls;
    const Aria2Rpc::Answer answer = Aria2Rpc::readAnswer(body, request);
    if (error.isNull()) {
        QVERIFY2(answer.error.isNull(), qPrintable(answer.error));
    } else {
        QVERIFY2(answer.error.startsWith(error), qPrintable(answer.error));
        QVERIFY(answer.calls.isEmpty());
    }
    QCOMPARE(describe(answer), answers);
}

QTEST_APPLESS_MAIN(TestAria2Rpc)
#include "tst_aria2rpc.moc"
