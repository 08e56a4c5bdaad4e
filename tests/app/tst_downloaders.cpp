#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <signal.h>

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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString Secret = u"s3cret-4711"_s;

QProcessEnvironment environment(const QString &secret)
{
    QProcessEnvironment env;
    env.insert(u"QT_LOGGING_RULES"_s, u"lumisong.*=true"_s); // the secret must not reach the log
    if (!secret.isEmpty())
        env.insert(u"LUMISONG_RPC_SECRET"_s, secret);
    return env;
}

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// A real aria2c with its JSON-RPC interface on loopback, saving into `dir`.
class Aria2Daemon
{
public:
    bool start(const QString &program, const QString &dir)
    {
        m_port = freePort();
        m_process.start(program,
                        {u"--no-conf"_s, u"--quiet"_s, u"--enable-rpc"_s, u"--rpc-listen-all=false"_s,
                         u"--rpc-listen-port=%1"_s.arg(m_port), u"--rpc-secret="_s + Secret,
                         u"--dir="_s + dir, u"--max-tries=1"_s, u"--timeout=20"_s,
                         u"--auto-file-renaming=false"_s,
                         u"--stop-with-process=%1"_s.arg(QCoreApplication::applicationPid())});
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000 && m_process.state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(1000))
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    ~Aria2Daemon()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
    QString rpcUrl() const { return u"http://127.0.0.1:%1/jsonrpc"_s.arg(m_port); }
    // Stops or continues the daemon (SIGSTOP, SIGCONT).
    bool signal(int number) { return ::kill(pid_t(m_process.processId()), number) == 0; }
    // aria2.getGlobalStat: how many downloads it holds in all, stopped ones included.
    int downloadsHeld()
    {
        const QByteArray body = R"({"jsonrpc":"2.0","id":"t","method":"aria2.getGlobalStat","params":["token:)"
                                + Secret.toUtf8() + R"("]})";
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (!socket.waitForConnected(5000))
            return -1;
        socket.write("POST /jsonrpc HTTP/1.0\r\nContent-Length: " + QByteArray::number(body.size())
                     + "\r\n\r\n" + body);
        while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000)) {
        }
        const QByteArray answer = socket.readAll();
        const QJsonObject stat = QJsonDocument::fromJson(answer.mid(answer.indexOf("\r\n\r\n") + 4))
                                     .object().value(u"result"_s).toObject();
        int held = 0;
        for (const char *key : {"numActive", "numWaiting", "numStoppedTotal"})
            held += stat.value(QLatin1StringView(key)).toString(u"-1000"_s).toInt();
        return held;
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// A running aria2c saving into `folder`, in a temporary folder that also
// holds the archive's place.
struct Aria2Fixture
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(u"aria2"_s);
    const QString archive = tmp.filePath(u"archive"_s);
    Aria2Daemon aria2;

    // False when the test is to end here: aria2c is not installed (the test
    // is skipped) or did not start (it failed).
    bool start()
    {
        const QString aria2c = QStandardPaths::findExecutable(u"aria2c"_s);
        if (aria2c.isEmpty()) {
            QTest::qSkip("aria2c is not installed (Debian: aria2)", __FILE__, __LINE__);
            return false;
        }
        return QTest::qVerify(tmp.isValid() && QDir().mkpath(folder), "the download folder", "",
                              __FILE__, __LINE__)
               && QTest::qVerify(aria2.start(aria2c, folder), "aria2c starts", "", __FILE__, __LINE__);
    }
};

// A JSON-RPC server that answers each request as the test says: for faults
// aria2 itself cannot be made to give.
class FakeRpc final : public QObject
{
public:
    using Answer = std::function<QByteArray(int index, const QJsonObject &request)>;
    explicit FakeRpc(Answer answer, QByteArray status = "200 OK")
        : m_answer(std::move(answer)), m_status(std::move(status))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { take(socket); });
        });
    }
    QString rpcUrl() const { return u"http://127.0.0.1:%1/jsonrpc"_s.arg(m_server.serverPort()); }
    QList<QJsonObject> requests;

private:
    void take(QTcpSocket *socket)
    {
        QByteArray &in = m_received[socket];
        in += socket->readAll();
        const qsizetype end = in.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = in.left(end).toLower();
        const qsizetype at = head.indexOf("content-length:");
        const qsizetype length = at < 0 ? 0 : head.mid(at + 15, head.indexOf('\r', at) - at - 15).trimmed().toLongLong();
        if (head.contains("expect: 100-continue") && in.size() == end + 4 && !socket->property("continued").toBool()) {
            socket->setProperty("continued", true);
            socket->write("HTTP/1.1 100 Continue\r\n\r\n");
        }
        if (in.size() < end + 4 + length)
            return;
        const QJsonObject request = QJsonDocument::fromJson(in.mid(end + 4, length)).object();
        requests.append(request);
        const QByteArray body = m_answer(int(requests.size()) - 1, request);
        socket->write("HTTP/1.1 " + m_status + "\r\nContent-Type: application/json\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        m_received.remove(socket);
    }

    QTcpServer m_server;
    Answer m_answer;
    QByteArray m_status;
    QHash<QTcpSocket *, QByteArray> m_received;
};

// aria2's answer to a multicall: a download id for each call, or for those
// `refused` says no to, aria2's refusal.
QByteArray multicallAnswer(const QJsonObject &request, const std::function<bool(int)> &refused)
{
    QJsonArray results;
    const QJsonArray calls = request.value(u"params"_s).toArray().at(0).toArray();
    for (int i = 0; i < calls.size(); ++i) {
        if (refused(i))
            results.append(QJsonObject{{u"code"_s, 1}, {u"message"_s, u"We encountered a problem"_s}});
        else
            results.append(QJsonArray{u"%1"_s.arg(quint64(calls.size()) * 1000 + quint64(i), 16, 16, QChar(u'0'))});
    }
    return QJsonDocument(QJsonObject{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, request.value(u"id"_s)},
                                     {u"result"_s, results}})
        .toJson(QJsonDocument::Compact);
}

// Every song id the archive holds, in order.
QStringList archived(const QString &path)
{
    return QString::fromUtf8(readAll(path)).split(u'\n', Qt::SkipEmptyParts);
}

// The file names a run printed after the download ids, in order.
QStringList namesSent(const Run &run)
{
    QStringList names;
    for (const QString &line : QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        names << (fields.size() == 2 && fields.first().size() == 16 ? fields.last() : u"<bad line>"_s + line);
    }
    return names;
}

} // namespace

// The urls and aria2 lists fed to the real wget and aria2c against the demo
// site, and the songs sent to a running aria2 over its JSON-RPC interface.
class TestDownloaders final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void downloaderSavesEverySong_data();
    void downloaderSavesEverySong();
    void sentSongsArrive_data();
    void sentSongsArrive();
    void failedSendLeavesTheArchive_data();
    void failedSendLeavesTheArchive();
    void onlyNewSongsAreSent();
    void songsTakenBeforeARefusalAreArchived();
    void lostAnswerQueuesNothingTwice();

private:
    // Exports the hostile page as `format` into `folder`.
    QString exportAs(const QString &format, const QString &folder);
    // lumisong --site DEMO --send-to URL ARGS, with `secret` in the environment.
    Run sendTo(const QString &rpcUrl, const QStringList &args, const QString &secret = Secret);
    // Whether `folder` holds exactly the hostile page's songs under `names`, whole.
    bool holdsSongs(const QString &folder, const QStringList &names, qsizetype from = 0) const;

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

Run TestDownloaders::sendTo(const QString &rpcUrl, const QStringList &args, const QString &secret)
{
    const Run run = runLumisong(QStringList{u"--site"_s, m_site.baseUrl(), u"--send-to"_s, rpcUrl} + args,
                                QString(), environment(secret));
    // Never printed nor logged, whatever the outcome, from the environment or a file.
    for (const QString &hidden : {secret, Secret}) {
        if (!hidden.isEmpty() && (run.out.contains(hidden.toUtf8()) || run.err.contains(hidden.toUtf8()))) {
            Run shown = run;
            shown.exitCode = -3;
            shown.err = "the secret was shown: " + run.err;
            return shown;
        }
    }
    return run;
}

bool TestDownloaders::holdsSongs(const QString &folder, const QStringList &names, qsizetype from) const
{
    QStringList sorted = names;
    sorted.sort();
    if (filesUnder(folder) != sorted) // aria2's control files are gone once a download is whole
        return false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (readAll(QDir(folder).filePath(names.at(i)))
            != m_site.catalogue().fileContent(hostileSongs().at(from + i)))
            return false;
    }
    return true;
}

void TestDownloaders::sentSongsArrive_data()
{
    QTest::addColumn<bool>("secretFile"); // else the environment
    QTest::addColumn<bool>("dir");        // --dir, else aria2's own folder
    QTest::newRow("secret from the environment, aria2's folder") << false << false;
    QTest::newRow("secret from a file, --dir") << true << true;
}

void TestDownloaders::sentSongsArrive()
{
    QFETCH(bool, secretFile);
    QFETCH(bool, dir);
    Aria2Fixture f;
    if (!f.start())
        return;
    const QString &own = f.folder;
    const QString other = f.tmp.filePath(u"elsewhere"_s);
    QVERIFY(QDir().mkpath(other));
    QStringList args{u"--all"_s};
    if (dir)
        args << u"--dir"_s << other;
    if (secretFile) {
        const QString file = f.tmp.filePath(u"secret"_s);
        QVERIFY(writeFile(file, Secret.toUtf8() + "\r\nsecond line\n"));
        args << u"--rpc-secret-file"_s << file;
    }
    const Run run = sendTo(f.aria2.rpcUrl(), args, secretFile ? QString() : Secret);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(namesSent(run), safeNames());
    QVERIFY2(run.err.endsWith("已将 8 首歌曲发送到下载器。\n"), run.err.constData());
    QTRY_VERIFY_WITH_TIMEOUT(holdsSongs(dir ? other : own, safeNames()), 20000);
    QCOMPARE(filesUnder(dir ? own : other), QStringList());
}

void TestDownloaders::failedSendLeavesTheArchive_data()
{
    QTest::addColumn<QString>("aria2");  // "real", "down", "fake" or "busy"
    QTest::addColumn<QString>("secret"); // given to the program
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("wrong token") << u"real"_s << u"not-the-secret"_s << QByteArray("Unauthorized");
    QTest::newRow("no token") << u"real"_s << QString() << QByteArray("Unauthorized");
    QTest::newRow("aria2 down") << u"down"_s << Secret << QByteArray("cannot be reached");
    QTest::newRow("not JSON-RPC") << u"fake"_s << Secret << QByteArray("not JSON-RPC");
    // The cause first: the status that came instead of an answer.
    QTest::newRow("HTTP 503") << u"busy"_s << Secret
                              << QByteArray("HTTP status 503; the answer is not JSON-RPC");
}

void TestDownloaders::failedSendLeavesTheArchive()
{
    QFETCH(QString, aria2);
    QFETCH(QString, secret);
    QFETCH(QByteArray, said);
    const QString aria2c = QStandardPaths::findExecutable(u"aria2c"_s);
    if (aria2 == u"real" && aria2c.isEmpty())
        QSKIP("aria2c is not installed (Debian: aria2)");
    QTemporaryDir tmp;
    Aria2Daemon daemon;
    FakeRpc fake([](int, const QJsonObject &) { return QByteArray("<html>Bad gateway</html>"); });
    FakeRpc busy([](int, const QJsonObject &) { return QByteArray("<html>Busy</html>"); },
                 "503 Service Unavailable");
    QString rpcUrl = u"http://127.0.0.1:%1/jsonrpc"_s.arg(freePort());
    if (aria2 == u"real") {
        QVERIFY(daemon.start(aria2c, tmp.path()));
        rpcUrl = daemon.rpcUrl();
    } else if (aria2 == u"fake") {
        rpcUrl = fake.rpcUrl();
    } else if (aria2 == u"busy") {
        rpcUrl = busy.rpcUrl();
    }
    const QString archive = tmp.filePath(u"archive"_s);
    QVERIFY(writeFile(archive, "8000002\n"));
    const Run run = sendTo(rpcUrl, {u"--all"_s, u"--archive"_s, archive}, secret);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(said), run.err.constData());
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(readAll(archive), QByteArray("8000002\n"));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList{u"archive"_s});
}

void TestDownloaders::onlyNewSongsAreSent()
{
    Aria2Fixture f;
    if (!f.start())
        return;
    const Run first = sendTo(f.aria2.rpcUrl(), {u"--songs"_s, u"1-3"_s, u"--archive"_s, f.archive});
    QVERIFY2(first.exitCode == 0, first.err.constData());
    QCOMPARE(namesSent(first), safeNames().mid(0, 3));
    QTRY_VERIFY_WITH_TIMEOUT(holdsSongs(f.folder, safeNames().mid(0, 3)), 20000);

    const Run second = sendTo(f.aria2.rpcUrl(), {u"--all"_s, u"--archive"_s, f.archive});
    QVERIFY2(second.exitCode == 0, second.err.constData());
    QCOMPARE(namesSent(second), safeNames().mid(3));
    QTRY_VERIFY_WITH_TIMEOUT(holdsSongs(f.folder, safeNames()), 20000);

    const Run third = sendTo(f.aria2.rpcUrl(), {u"--all"_s, u"--archive"_s, f.archive});
    QCOMPARE(third.exitCode, 0);
    QCOMPARE(third.out, QByteArray());
    QVERIFY2(third.err.endsWith("没有新的歌曲。\n"), third.err.constData());
    QStringList ids;
    for (const DemoCatalogue::Song &s : hostileSongs())
        ids << s.songId;
    QCOMPARE(archived(f.archive), ids);
}

void TestDownloaders::songsTakenBeforeARefusalAreArchived()
{
    m_site.setSongCount(250);
    // The second request's eleventh call (row 111) is refused.
    FakeRpc fake([](int index, const QJsonObject &request) {
        return multicallAnswer(request, [index](int call) { return index == 1 && call == 10; });
    });
    QTemporaryDir tmp;
    const QString archive = tmp.filePath(u"archive"_s);
    QVERIFY(writeFile(archive, "0000000\n"));
    const Run run = sendTo(fake.rpcUrl(), {u"--all"_s, u"--archive"_s, archive});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("row 111") && run.err.contains("We encountered a problem"),
             run.err.constData());
    // Nothing is sent after a refusal.
    QCOMPARE(fake.requests.size(), 2);
    QStringList expected{u"0000000"_s};
    for (int row = 1; row <= 200; ++row) {
        if (row != 111)
            expected << m_site.catalogue().songs().at(row - 1).songId;
    }
    QCOMPARE(archived(archive), expected);
    QCOMPARE(namesSent(run).size(), 199);
}

void TestDownloaders::lostAnswerQueuesNothingTwice()
{
    Aria2Fixture f;
    if (!f.start())
        return;
    const QStringList args{u"--songs"_s, u"1-3"_s, u"--archive"_s, f.archive};

    // aria2 stopped: the request goes out, its answer does not come in time.
    QVERIFY(f.aria2.signal(SIGSTOP));
    const Run late = sendTo(f.aria2.rpcUrl(), args);
    QVERIFY(f.aria2.signal(SIGCONT));
    QCOMPARE(late.exitCode, 2);
    QVERIFY2(late.err.contains("too late") && !late.err.contains("cannot be reached"),
             late.err.constData());
    QVERIFY(!QFile::exists(f.archive));
    // Going on, aria2 takes the request it had been sent.
    QTRY_VERIFY_WITH_TIMEOUT(holdsSongs(f.folder, safeNames().mid(0, 3)), 20000);

    const Run again = sendTo(f.aria2.rpcUrl(), args);
    QVERIFY2(again.exitCode == 0, again.err.constData());
    QCOMPARE(namesSent(again), safeNames().mid(0, 3));
    QStringList ids;
    for (const DemoCatalogue::Song &s : hostileSongs().mid(0, 3))
        ids << s.songId;
    QCOMPARE(archived(f.archive), ids);
    QCOMPARE(f.aria2.downloadsHeld(), 3);
    QVERIFY(holdsSongs(f.folder, safeNames().mid(0, 3)));
}

QTEST_GUILESS_MAIN(TestDownloaders)
#include "tst_downloaders.moc"
