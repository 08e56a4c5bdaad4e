// The main window's "生成列表" run: the list file's bytes in list order, the
// progress it shows, the save dialog's types, the overwrite question, and
// how failures and a window closed mid-run leave the file.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <vector>

#include "tests/support/qtwarnings.h"
#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "forms/listitemsmodel.h"
#include "catalogue/catalogue.h"
#include "catalogue/listformat.h"
#include "controls/progressbar/progressbar.h"
#include "net/fetchlimits.h"
#include "songwindowharness.h"
#include "tests/support/requestsunderway.h"

using namespace Lumisong;

namespace {

const QString PresetName = QStringLiteral("百度新歌下载列表");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The window's run asks for one address at a time over one connection, so
// that a request that reaches the site marks the one song the run is at.
void askOneSongAtATime(SongWindowHarness &h)
{
    FetchLimits limits = fetchLimits();
    limits.connectionsPerSite = 1;
    setFetchLimits(limits);
    h.parallelRequests = 1;
}

} // namespace

class TestListFileCommand final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void listFileBytesInListOrder();
    void progressTexts();
    void dialogTypeChoosesTheFormat_data();
    void dialogTypeChoosesTheFormat();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void noTickedRows();
    void refreshesCachedAddresses();
    void ticksChangedDuringTheRun();
    void failingAddressMidRun();
    void unwritableTarget();
    void closingTheWindowMidRun();
    void closingTheWindowWithRequestsInFlight();
    void keyboardRunEndsOnCreate();
    void dialogStartsInTheLastListsFolder();
    void escapeAsksToStop_data();
    void escapeAsksToStop();
};

void TestListFileCommand::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestListFileCommand::init()
{
    Test::failOnQtMisuseWarnings();
    boundRequestTimes();
}

void TestListFileCommand::listFileBytesInListOrder()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    for (const int row : {4, 0, 2}) // ticked out of order
        h.items()->setChecked(row, true);
    const QString path = h.dir.filePath(QStringLiteral("list.lst"));
    h.saveDialog.queueAnswer(path);
    h.clickCreate();

    QCOMPARE(readAll(path), h.addressLine(0) + h.addressLine(2) + h.addressLine(4) + "//By Tolvane\r\n");
    QCOMPARE(h.saveDialog.requests().size(), 1);
    const SaveDialogRequest &request = h.saveDialog.requests().constFirst();
    QCOMPARE(request.title, QStringLiteral("Lumisong"));
    QCOMPARE(request.fileName, PresetName);
    QCOMPARE(request.defaultSuffix, QStringLiteral("lst"));
    // The list file's own types first, as they always were; then the other kinds of list.
    QVERIFY(request.filter.startsWith(
        QStringLiteral("列表文件(*.lst)|*.lst|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*|")));
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().constFirst().text, QStringLiteral("列表成功生成！"));
    QCOMPARE(h.messageBox.shown().constFirst().caption, QStringLiteral("Lumisong"));
    QCOMPARE(h.messageBox.shown().constFirst().icon, MessageBox::Icon::Information);
    QVERIFY(h.btnCreate()->isEnabled());
    QVERIFY(h.process());
    QVERIFY(!h.process()->isVisible());
}

void TestListFileCommand::progressTexts()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    ProgressBar *bar = h.process();
    QVERIFY(bar);
    h.tick({1, 3, 5});
    QStringList texts;
    QList<bool> buttonEnabled;
    // Several addresses are asked for at once; the text counts the songs done
    // in list order, each number in turn.
    connect(bar, &ProgressBar::propertyChanged, this,
            [&](const QString &name) {
                if (name != u"Text")
                    return;
                texts << bar->property("Text").toString() + u'|' + bar->property("Value").toString();
                buttonEnabled << h.btnCreate()->isEnabled();
                QVERIFY(bar->isVisible());
            });
    h.saveDialog.queueAnswer(h.dir.filePath(QStringLiteral("p.lst")));
    h.clickCreate();
    QCOMPARE(texts, (QStringList{QStringLiteral("正在处理第 0/3 个选中的项目...|0"),
                                 QStringLiteral("正在处理第 1/3 个选中的项目...|1"),
                                 QStringLiteral("正在处理第 2/3 个选中的项目...|2")}));
    QCOMPARE(buttonEnabled, (QList<bool>{false, false, false}));
    QCOMPARE(bar->property("Max").toInt(), 3);
    QVERIFY(!bar->isVisible());
}

void TestListFileCommand::dialogTypeChoosesTheFormat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("description"); // of the type, as the dialog lists it
    QTest::addColumn<ListFormat>("format");
    QTest::newRow("列表文件") << 0 << QStringLiteral("列表文件(*.lst)") << ListFormat::Lst;
    QTest::newRow("文本文件") << 1 << QStringLiteral("文本文件(*.txt)") << ListFormat::Lst;
    QTest::newRow("所有文件") << 2 << QStringLiteral("所有文件(*.*)") << ListFormat::Lst;
    QTest::newRow("wget/curl") << 3 << QStringLiteral("下载地址 wget/curl(*.txt)") << ListFormat::Urls;
    QTest::newRow("aria2") << 4 << QStringLiteral("aria2 下载列表(*.txt)") << ListFormat::Aria2;
    QTest::newRow("m3u8") << 5 << QStringLiteral("播放列表 M3U8(*.m3u8)") << ListFormat::M3u8;
    QTest::newRow("json") << 6 << QStringLiteral("歌曲列表 JSON(*.json)") << ListFormat::Json;
}

void TestListFileCommand::dialogTypeChoosesTheFormat()
{
    QFETCH(int, type);
    QFETCH(QString, description);
    QFETCH(ListFormat, format);
    SongWindowHarness h;
    QVERIFY(h.start());
    h.tick({4, 1});
    const QString path = h.dir.filePath(QStringLiteral("list.out"));
    h.saveDialog.queueAnswer(path, type);
    h.clickCreate();

    QCOMPARE(h.saveDialog.requests().constFirst().filter.split(u'|').at(2 * type), description);
    std::vector<ListEntry> entries;
    for (const int slot : {1, 4}) {
        entries.push_back({slot + 1, h.catalogue->song(slot)});
        QCOMPARE(entries.back().song.downloadUrl,
                 QString::fromLatin1(h.addressLine(slot).chopped(2))); // resolved by the run
    }
    QString error;
    QCOMPARE(readAll(path), ListFormats::encode(format, entries, &error).value_or("<refused>"));
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().constFirst().text, QStringLiteral("列表成功生成！"));
}

void TestListFileCommand::overwriteQuestion_data()
{
    QTest::addColumn<QList<MessageBox::Answer>>("answers");
    QTest::addColumn<int>("dialogs");     // times the save dialog was shown
    QTest::addColumn<bool>("written");

    using A = MessageBox::Answer;
    QTest::newRow("yes") << QList<A>{A::Yes} << 1 << true;
    QTest::newRow("no, then cancel the dialog") << QList<A>{A::No} << 2 << false;
    QTest::newRow("no, then yes") << QList<A>{A::No, A::Yes} << 2 << true;
    QTest::newRow("cancel") << QList<A>{A::Cancel} << 1 << false;
}

void TestListFileCommand::overwriteQuestion()
{
    QFETCH(QList<MessageBox::Answer>, answers);
    QFETCH(int, dialogs);
    QFETCH(bool, written);

    SongWindowHarness h;
    QVERIFY(h.start());
    h.tick({0});
    const QString path = h.dir.filePath(QStringLiteral("exists.lst"));
    writeFile(path, "old\r\n");
    for (const MessageBox::Answer answer : answers) {
        h.messageBox.queueAnswer(answer);
        h.saveDialog.queueAnswer(path);
    }
    h.clickCreate();

    QCOMPARE(h.saveDialog.requests().size(), dialogs);
    for (const SaveDialogRequest &request : h.saveDialog.requests())
        QCOMPARE(request.fileName, PresetName); // not the name just refused
    const ScriptedMessageBox::Shown &question = h.messageBox.shown().constFirst();
    QCOMPARE(question.text, QStringLiteral("文件已经存在，是否覆盖？"));
    QCOMPARE(question.caption, QStringLiteral("覆盖"));
    QCOMPARE(question.icon, MessageBox::Icon::Question);
    QCOMPARE(question.buttons, MessageBox::Buttons::YesNoCancel);
    QCOMPARE(readAll(path), written ? h.addressLine(0) + "//By Tolvane\r\n" : QByteArray("old\r\n"));
    QCOMPARE(h.site.totalRequests(), written ? 1 : 0);
    QVERIFY(h.btnCreate()->isEnabled());
}

void TestListFileCommand::noTickedRows()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    const QString path = h.dir.filePath(QStringLiteral("none.lst"));
    h.saveDialog.queueAnswer(path);
    const ProgressBar *bar = h.process();
    QVERIFY(bar);
    const QString textBefore = bar->text();
    h.clickCreate();
    QCOMPARE(readAll(path), QByteArray("//By Tolvane\r\n"));
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().constFirst().text, QStringLiteral("列表成功生成！"));
    QCOMPARE(bar->max(), 1); // a maximum of 0 is raised to 1
    QCOMPARE(bar->text(), textBefore);
}

void TestListFileCommand::refreshesCachedAddresses()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.doubleClick(h.rowPoint(3));
    QTRY_VERIFY(!h.catalogue->song(3).downloadUrl.isEmpty());
    QCOMPARE(h.site.requestCount(h.addressTarget(3)), 1);
    ScriptedAnswer moved;
    moved.body = "/files/moved.mp3\r\n";
    h.site.setAnswer(h.addressTarget(3), moved);
    h.tick({3});
    const QString path = h.dir.filePath(QStringLiteral("fresh.lst"));
    h.saveDialog.queueAnswer(path);
    h.clickCreate();
    QCOMPARE(h.site.requestCount(h.addressTarget(3)), 2);
    const QString fresh = h.site.baseUrl() + u"/files/moved.mp3";
    QCOMPARE(h.catalogue->song(3).downloadUrl, fresh);
    QCOMPARE(readAll(path), fresh.toLatin1() + "\r\n//By Tolvane\r\n");
}

void TestListFileCommand::ticksChangedDuringTheRun()
{
    SongWindowHarness h;
    askOneSongAtATime(h); // with several at once, the run reaches all six rows at the start
    QVERIFY(h.start());
    h.tick({0, 2});
    bool changed = false;
    h.onEachRequest([&] {
        if (changed)
            return;
        changed = true; // while row 1 is resolved: untick row 3, tick rows 5 and 6
        h.items()->setChecked(2, false);
        h.items()->setChecked(4, true);
        h.items()->setChecked(5, true);
    });
    const QString path = h.dir.filePath(QStringLiteral("changed.lst"));
    h.saveDialog.queueAnswer(path);
    h.clickCreate();
    QCOMPARE(readAll(path),
             h.addressLine(0) + h.addressLine(4) + h.addressLine(5) + "//By Tolvane\r\n");
    QVERIFY(h.process());
    QCOMPARE(h.process()->max(), 2); // the first count stays
}

void TestListFileCommand::failingAddressMidRun()
{
    SongWindowHarness h;
    askOneSongAtATime(h); // row 4 is not reached before row 3 has failed
    QVERIFY(h.start());
    h.tick({0, 1, 2, 3});
    ScriptedAnswer empty; // an empty answer is no address
    h.site.setAnswer(h.addressTarget(2), empty);
    const QString path = h.dir.filePath(QStringLiteral("kept.lst"));
    writeFile(path, "last week\r\n");
    h.messageBox.queueAnswer(MessageBox::Answer::Yes);
    h.saveDialog.queueAnswer(path);
    h.clickCreate();

    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(QDir(h.dir.path()).entryList({QStringLiteral("*.lst*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.lst")});
    QCOMPARE(h.lblInfo()->text(), QStringLiteral("生成列表失败，请检查网络..."));
    QVERIFY(h.btnCreate()->isEnabled());
    QCOMPARE(h.site.requestCount(h.addressTarget(3)), 0); // stopped at once
    QCOMPARE(h.messageBox.shown().size(), 1);             // only the overwrite question
    const ProgressBar *bar = h.process();
    QVERIFY(bar);
    QVERIFY(bar->isVisible()); // left as it stood
    QCOMPARE(bar->text(), QStringLiteral("正在处理第 2/4 个选中的项目..."));
}

void TestListFileCommand::escapeAsksToStop_data()
{
    QTest::addColumn<bool>("stop"); // the question is answered 是, else 否
    QTest::newRow("是 stops, the old file is kept") << true;
    QTest::newRow("否 goes on to the end") << false;
}

// Esc during the run asks whether to stop it; the run waits for the answer.
void TestListFileCommand::escapeAsksToStop()
{
    QFETCH(bool, stop);
    SongWindowHarness h;
    askOneSongAtATime(h); // the second request is the second song
    QVERIFY(h.start());
    h.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    h.tick({0, 1, 2, 3});
    const QString path = h.dir.filePath(QStringLiteral("stopped.lst"));
    writeFile(path, "last week\r\n");
    int requests = 0;
    h.onEachRequest([&] {
        if (++requests == 2)
            QTest::keyClick(h.form.get(), Qt::Key_Escape);
    });
    h.messageBox.queueAnswer(MessageBox::Answer::Yes); // overwrite
    h.messageBox.queueAnswer(stop ? MessageBox::Answer::Yes : MessageBox::Answer::No);
    h.saveDialog.queueAnswer(path);
    h.clickCreate();

    QCOMPARE(h.messageBox.shown().size(), stop ? 2 : 3);
    const ScriptedMessageBox::Shown &question = h.messageBox.shown().at(1);
    QCOMPARE(question.text, QStringLiteral("是否停止生成列表？"));
    QCOMPARE(question.buttons, MessageBox::Buttons::YesNo);
    QVERIFY(h.btnCreate()->isEnabled());
    if (!stop) {
        QCOMPARE(readAll(path), h.addressLine(0) + h.addressLine(1) + h.addressLine(2)
                                    + h.addressLine(3) + "//By Tolvane\r\n");
        QCOMPARE(h.messageBox.shown().at(2).text, QStringLiteral("列表成功生成！"));
        return;
    }
    QCOMPARE(requests, 2); // no song after the question was asked for
    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(QDir(h.dir.path()).entryList({QStringLiteral("*.lst*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("stopped.lst")});
    QCOMPARE(h.lblInfo()->text(), QStringLiteral("已停止生成列表。"));
}

void TestListFileCommand::unwritableTarget()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.tick({0});
    h.saveDialog.queueAnswer(h.dir.filePath(QStringLiteral("missing/folder/list.lst")));
    h.clickCreate();
    QCOMPARE(h.lblInfo()->text(), QStringLiteral("生成列表失败，无法写入文件..."));
    QVERIFY(h.btnCreate()->isEnabled());
    QCOMPARE(h.site.totalRequests(), 0);
    QVERIFY(h.messageBox.shown().isEmpty());
}

void TestListFileCommand::closingTheWindowMidRun()
{
    SongWindowHarness h;
    askOneSongAtATime(h); // the third request is the third song
    QVERIFY(h.start());
    h.tick({0, 1, 2, 3, 4, 5});
    const QString path = h.dir.filePath(QStringLiteral("closed.lst"));
    writeFile(path, "last week\r\n");
    int requests = 0;
    h.onEachRequest([&] {
        if (++requests == 3)
            h.form->close();
    });
    h.messageBox.queueAnswer(MessageBox::Answer::Yes);
    h.saveDialog.queueAnswer(path);
    h.clickCreate();
    QCOMPARE(h.unloads, 1);
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0); // the run ended with the window
    QCOMPARE(requests, 3);
    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(QDir(h.dir.path()).entryList({QStringLiteral("*.lst*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("closed.lst")});
    QCOMPARE(h.messageBox.shown().size(), 1); // the overwrite question only
}

void TestListFileCommand::closingTheWindowWithRequestsInFlight()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.tick({0, 1, 2, 3, 4, 5});
    for (int slot = 0; slot < 6; ++slot) {
        ScriptedAnswer slow;
        slow.body = DemoCatalogue::filePath(h.catalogue->song(slot).songId).toLatin1();
        slow.latencyMs = 2500;
        h.site.setAnswer(h.addressTarget(slot), slow);
    }
    const QString path = h.dir.filePath(QStringLiteral("closed.lst"));
    writeFile(path, "last week\r\n");
    int requestsAtClose = -1;
    h.onEachRequest([&] {
        if (h.site.totalRequests() == 4) // as many as the run asks for at once
            QTimer::singleShot(50, h.form.get(), [&] {
                requestsAtClose = h.site.totalRequests();
                h.form->close();
            });
    });
    h.messageBox.queueAnswer(MessageBox::Answer::Yes);
    h.saveDialog.queueAnswer(path);
    h.clickCreate();
    QCOMPARE(h.unloads, 1);
    QCOMPARE(requestsAtClose, 4);
    // The run ended with the window, before the answers came: none can be taken or
    // lead to another request.
    QCOMPARE(Test::requestsUnderWay(h.form.get()), 0);
    QCOMPARE(h.site.totalRequests(), 4);
    QCOMPARE(h.site.requestCount(h.addressTarget(4)), 0);
    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(h.messageBox.shown().size(), 1); // the overwrite question only
    for (int slot = 0; slot < 6; ++slot)
        QVERIFY(h.catalogue->song(slot).downloadUrl.isEmpty());
}

QTEST_MAIN(TestListFileCommand)
void TestListFileCommand::keyboardRunEndsOnCreate()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    h.items()->setChecked(1, true);
    QWidget *create = h.btnCreate();
    create->setFocus();
    QWidget *focusDuringRun = nullptr;
    h.onEachRequest([&] { focusDuringRun = h.form->focusWidget(); });
    h.saveDialog.queueAnswer(h.dir.filePath(QStringLiteral("keys.lst")));
    QTest::keyClick(create, Qt::Key_Return);
    QVERIFY(h.waitForCreate());
    QCOMPARE(h.messageBox.shown().size(), 1);
    // Disabled, the button handed the focus on; enabled again, it has it back.
    QVERIFY(focusDuringRun && focusDuringRun != create);
    QCOMPARE(h.form->focusWidget(), create);
    // So the next Enter starts another run instead of ticking every row.
    QTest::keyClick(h.form->focusWidget(), Qt::Key_Return);
    QCOMPARE(h.saveDialog.requests().size(), 2);
    QCOMPARE(h.items()->isChecked(0), false);
}

void TestListFileCommand::dialogStartsInTheLastListsFolder()
{
    SongWindowHarness h;
    QVERIFY(h.start());
    // A home of the test's own, without a music folder at first.
    const QByteArray home = qgetenv("HOME");
    const QString fakeHome = h.dir.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(fakeHome));
    qputenv("HOME", QFile::encodeName(fakeHome));
    const auto folderOfNextDialog = [&h] {
        h.saveDialog.queueAnswer(QString()); // cancelled
        h.clickCreate();
        return h.saveDialog.requests().constLast().folder;
    };
    const QString first = folderOfNextDialog();
    QVERIFY(QDir().mkpath(fakeHome + QStringLiteral("/Music")));
    const QString withMusic = folderOfNextDialog();
    const QString elsewhere = h.dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    h.saveDialog.queueAnswer(elsewhere + QStringLiteral("/list.lst"));
    h.clickCreate();
    const QString afterSave = folderOfNextDialog();
    qputenv("HOME", home);

    QCOMPARE(first, fakeHome);
    QCOMPARE(withMusic, fakeHome + QStringLiteral("/Music"));
    QCOMPARE(afterSave, elsewhere);
    QCOMPARE(h.settings.value(QStringLiteral("Lumisong"), QStringLiteral("LastListFolder")), elsewhere);
}

#include "tst_listfilecommand.moc"
