#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

#include "app/frmmain.h"
#include "app/listitemsmodel.h"
#include "app/listview.h"
#include "catalogue/catalogue.h"
#include "catalogue/listformat.h"
#include "controls/button/zephbutton.h"
#include "controls/progressbar/progressbar.h"
#include "menu/frmmenu.h"
#include "net/fetchlimits.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/twips.h"
#include "platform/ui/memoryclipboard.h"
#include "platform/ui/recordingshellopener.h"
#include "platform/ui/scriptedmessagebox.h"
#include "platform/ui/scriptedsavedialog.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;

namespace {

const QString PresetName = QStringLiteral("百度新歌下载列表");

// A main window over a demo site of six songs, with answerable dialogs and a
// clipboard and browser the test can read.
struct Harness
{
    QTemporaryDir dir;
    DemoSite site{6};
    ScriptedMessageBox messageBox;
    ScriptedSaveDialog saveDialog;
    MemoryClipboard clipboard;
    RecordingShellOpener opener;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(QStringLiteral("settings.ini")));
    std::unique_ptr<frmMain> form;
    QStringList infos;

    bool start()
    {
        if (!site.listen())
            return false;
        frmMain::Environment env{&messageBox, &settings, nullptr, site.baseUrl(),
                                 site.baseUrl() + u"/version.html"};
        env.clipboard = &clipboard;
        env.saveDialog = &saveDialog;
        env.shellOpener = &opener;
        form = std::make_unique<frmMain>(env);
        QObject::connect(form.get(), &frmMain::infoChanged,
                         [this](const QString &text) { infos << text; });
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return false;
        form->Timer2_Timer(); // loads the catalogue into the list
        site.resetCounters();
        return items()->rowCount() == 6;
    }

    ListView *list() const { return form->lstXg(); }
    ListItemsModel *items() const { return form->lstXg()->items(); }
    QWidget *viewport() const { return form->lstXg()->viewport(); }
    QPoint rowPoint(int row) const
    {
        return list()->visualRect(items()->index(row, 2)).center();
    }
    QPoint belowRows() const
    {
        const QRect last = list()->visualRect(items()->index(items()->rowCount() - 1, 2));
        return QPoint(last.center().x(), last.bottom() + 40);
    }
    QString addressTarget(int slot) const
    {
        return site.addressTarget(form->catalogue().song(slot).songId);
    }
    QByteArray addressLine(int slot) const
    {
        return (site.baseUrl() + DemoCatalogue::filePath(form->catalogue().song(slot).songId))
                   .toLatin1()
               + "\r\n";
    }
    void tick(std::initializer_list<int> rows)
    {
        for (const int row : rows)
            items()->setChecked(row, true);
    }
    // Runs `probe` whenever a request reaches the site, i.e. while the
    // program waits for it.
    void onEachRequest(std::function<void()> probe)
    {
        QObject::connect(&site, &DemoSite::requestReceived, form.get(), std::move(probe));
    }
    void clickCreate() { QTest::mouseClick(form->btnCreate(), Qt::LeftButton); }
    // As a desktop delivers it: a click, then a second press that is a
    // double-click, then its release.
    void doubleClick(const QPoint &pos)
    {
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, pos);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, pos);
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, pos);
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Closes the popup menu that the next mouse release opens, noting its title.
void closePopupSoon(QString *openedTitle)
{
    QTimer::singleShot(0, [openedTitle] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            *openedTitle = menu->title();
            menu->close();
        }
    });
}

} // namespace

class TestSongCommands final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buttonsAsDesigned();
    void mouse_data();
    void mouse();
    void keyboardSelectionThenRightClick();
    void spaceTicksWhicheverColumnWasClicked_data();
    void spaceTicksWhicheverColumnWasClicked();
    void doubleClickCopiesOnceThenFromCache();
    void doubleClickFailureIsTold();
    void selectionButtons();
    void buttonsByKeyboard();
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
};

void TestSongCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSongCommands::init()
{
    FetchLimits limits;
    limits.idleTimeoutMs = 3000;
    limits.totalTimeoutMs = 5000;
    setFetchLimits(limits);
}

// The run asks for one address at a time, so that a request that reaches the
// site marks the one song the run is at.
void askOneSongAtATime()
{
    FetchLimits limits = fetchLimits();
    limits.connectionsPerSite = 1;
    setFetchLimits(limits);
}

void TestSongCommands::buttonsAsDesigned()
{
    Harness h;
    QVERIFY(h.start());
    const auto px = [](int twips) { return Twips::toPixels(twips); };
    struct Expected
    {
        QWidget *button;
        QString caption;
        QRect twips;
    };
    const QList<Expected> buttons = {
        {h.form->btnSelectAll(), QStringLiteral("全选(&A)"), {8730, 7845, 915, 345}},
        {h.form->btnSelectNone(), QStringLiteral("全不选(&N)"), {9720, 7845, 915, 345}},
        {h.form->btnSelectInvert(), QStringLiteral("反选(&I)"), {10710, 7845, 915, 345}},
        {h.form->btnCreate(), QStringLiteral("生成列表"), {11700, 7845, 915, 345}},
    };
    for (const Expected &e : buttons) {
        QVERIFY(qobject_cast<zephbutton *>(e.button));
        QCOMPARE(e.button->property("Caption").toString(), e.caption);
        QCOMPARE(e.button->property("ButtonStyle").toInt(), 10);
        QCOMPARE(e.button->geometry(), QRect(px(e.twips.x()), px(e.twips.y()), px(e.twips.width()),
                                             px(e.twips.height())));
    }
    // Tab order: lstXg, btnCreate, btnSelectAll, btnSelectNone, btnSelectInvert.
    QCOMPARE(nextTabStop(h.list()), h.form->btnCreate());
    QCOMPARE(nextTabStop(h.form->btnCreate()), h.form->btnSelectAll());
    QCOMPARE(nextTabStop(h.form->btnSelectAll()), h.form->btnSelectNone());
    QCOMPARE(nextTabStop(h.form->btnSelectNone()), h.form->btnSelectInvert());
    // ... and round to the list: the frame buttons are no tab stops.
    QCOMPARE(nextTabStop(h.form->btnSelectInvert()), static_cast<QWidget *>(h.list()));
}

void TestSongCommands::mouse_data()
{
    QTest::addColumn<int>("startRow");     // selected before the click, -1 none
    QTest::addColumn<QString>("where");    // "row 3", "below", "header"
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("selected");     // selected row afterwards
    QTest::addColumn<int>("currentSong");  // afterwards (starts at 1)
    QTest::addColumn<bool>("menu");

    QTest::newRow("left on a row") << -1 << "row 3" << Qt::LeftButton << 3 << 3 << false;
    QTest::newRow("right on a row opens the menu") << 0 << "row 4" << Qt::RightButton << 4 << 4 << true;
    QTest::newRow("left below the rows") << 2 << "below" << Qt::LeftButton << -1 << 2 << false;
    QTest::newRow("right below the rows") << 2 << "below" << Qt::RightButton << -1 << 2 << false;
    QTest::newRow("below with nothing selected") << -1 << "below" << Qt::LeftButton << -1 << 1 << false;
    QTest::newRow("right on the header") << 2 << "header" << Qt::RightButton << 2 << 2 << false;
}

void TestSongCommands::mouse()
{
    QFETCH(int, startRow);
    QFETCH(QString, where);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, selected);
    QFETCH(int, currentSong);
    QFETCH(bool, menu);

    Harness h;
    QVERIFY(h.start());
    h.form->setCurrentSong(1);
    if (startRow >= 0) {
        QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(startRow));
        QCOMPARE(h.form->currentSong(), startRow);
    }
    QString opened;
    closePopupSoon(&opened);
    if (where == u"header")
        QTest::mouseClick(h.list()->header()->viewport(), button, {}, QPoint(100, 5));
    else if (where == u"below")
        QTest::mouseClick(h.viewport(), button, {}, h.belowRows());
    else
        QTest::mouseClick(h.viewport(), button, {}, h.rowPoint(where.mid(4).toInt()));
    QCOMPARE(h.list()->selectedRow(), selected);
    QCOMPARE(h.form->currentSong(), currentSong);
    QCoreApplication::processEvents();
    QCOMPARE(opened, menu ? QStringLiteral("右键") : QString());
    QCOMPARE(h.site.totalRequests(), 0);
}

void TestSongCommands::keyboardSelectionThenRightClick()
{
    Harness h;
    QVERIFY(h.start());
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(0));
    QTest::keyClick(h.list(), Qt::Key_Down);
    QTest::keyClick(h.list(), Qt::Key_Down);
    QCOMPARE(h.list()->selectedRow(), 2);
    QCOMPARE(h.form->currentSong(), 0); // the keyboard does not move currentSong

    h.form->catalogue().song(5).title = QStringLiteral("A&B");
    h.form->catalogue().song(5).singer = QStringLiteral("C");
    QTimer::singleShot(0, [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->close();
    });
    QTest::mouseClick(h.viewport(), Qt::RightButton, {}, h.rowPoint(5));
    QCOMPARE(h.form->currentSong(), 5);
    h.form->menuForm()->action(QStringLiteral("mnuSearchBaidu"))->trigger();
    QCOMPARE(h.opener.opened().size(), 1);
    QCOMPARE(h.opener.opened().constFirst().toEncoded(),
             QByteArray("http://www.baidu.com/s?word=A%26B%20C&tn=Lumisong(Tolvane)"));
}

void TestSongCommands::spaceTicksWhicheverColumnWasClicked_data()
{
    QTest::addColumn<int>("column");
    for (int column = 0; column < 7; ++column)
        QTest::addRow("column %d", column) << column;
}

void TestSongCommands::spaceTicksWhicheverColumnWasClicked()
{
    QFETCH(int, column);
    Harness h;
    QVERIFY(h.start());
    // In the number column, beside the check box rather than on it.
    const QRect cell = h.list()->visualRect(h.items()->index(3, column));
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 3, cell.center().y()));
    QCOMPARE(h.list()->selectedRow(), 3);
    QVERIFY(!h.items()->isChecked(3));
    QTest::keyClick(h.list(), Qt::Key_Space);
    QVERIFY(h.items()->isChecked(3));
    QTest::keyClick(h.list(), Qt::Key_Space);
    QVERIFY(!h.items()->isChecked(3));
    // Only the selected row changes.
    for (int row = 0; row < h.items()->rowCount(); ++row)
        QVERIFY(!h.items()->isChecked(row));
    QCOMPARE(h.list()->selectedRow(), 3);
}

void TestSongCommands::doubleClickCopiesOnceThenFromCache()
{
    Harness h;
    QVERIFY(h.start());
    h.doubleClick(h.rowPoint(2));
    const QString expected = QString::fromLatin1(h.addressLine(2).chopped(2));
    QCOMPARE(h.clipboard.text(), expected);
    QCOMPARE(h.site.requestCount(h.addressTarget(2)), 1);

    h.clipboard.setText(QStringLiteral("other"));
    h.doubleClick(h.rowPoint(2));
    QCOMPARE(h.clipboard.text(), expected);
    QCOMPARE(h.site.totalRequests(), 1);

    // Below the rows: the selection goes, nothing is copied.
    h.clipboard.setText(QStringLiteral("other"));
    h.doubleClick(h.belowRows());
    QCOMPARE(h.list()->selectedRow(), -1);
    QCOMPARE(h.clipboard.text(), QStringLiteral("other"));
}

void TestSongCommands::doubleClickFailureIsTold()
{
    Harness h;
    QVERIFY(h.start());
    ScriptedAnswer failing;
    failing.status = 503;
    h.site.setAnswer(h.addressTarget(1), failing);
    h.clipboard.setText(QStringLiteral("kept"));
    h.doubleClick(h.rowPoint(1));
    QCOMPARE(h.clipboard.text(), QStringLiteral("kept"));
    QCOMPARE(h.form->lblInfo()->text(), QStringLiteral("获取下载地址失败，请检查网络..."));
    QVERIFY(h.form->catalogue().song(1).downloadUrl.isEmpty());
}

void TestSongCommands::selectionButtons()
{
    Harness h;
    QVERIFY(h.start());
    const auto ticks = [&h] {
        QString marks;
        for (int row = 0; row < h.items()->rowCount(); ++row)
            marks += h.items()->isChecked(row) ? u'x' : u'.';
        return marks;
    };
    QTest::mouseClick(h.viewport(), Qt::LeftButton, {}, h.rowPoint(1));
    h.tick({0, 3});
    QTest::mouseClick(h.form->btnSelectInvert(), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral(".xx.xx"));
    QTest::mouseClick(h.form->btnSelectInvert(), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("x..x.."));
    QTest::mouseClick(h.form->btnSelectAll(), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("xxxxxx"));
    QTest::mouseClick(h.form->btnSelectNone(), Qt::LeftButton);
    QCOMPARE(ticks(), QStringLiteral("......"));
    // Selection and currentSong stay.
    QCOMPARE(h.list()->selectedRow(), 1);
    QCOMPARE(h.form->currentSong(), 1);
    QCOMPARE(h.site.totalRequests(), 0);
}

// The skinned buttons by keyboard on the real window: their access keys with
// Alt, and Space on the focused button.
void TestSongCommands::buttonsByKeyboard()
{
    Harness h;
    QVERIFY(h.start());
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    const auto ticks = [&h] {
        QString marks;
        for (int row = 0; row < h.items()->rowCount(); ++row)
            marks += h.items()->isChecked(row) ? u'x' : u'.';
        return marks;
    };
    QTest::keyClick(h.form.get(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("xxxxxx"));
    QTest::keyClick(h.form.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("......"));
    h.tick({1});
    QTest::keyClick(h.form.get(), Qt::Key_I, Qt::AltModifier);
    QCOMPARE(ticks(), QStringLiteral("x.xxxx"));

    // Space on the focused "生成列表" runs the list file on its release; the
    // button looks and reports disabled for the whole run.
    QList<bool> enabledDuringRun;
    h.onEachRequest([&] { enabledDuringRun << h.form->btnCreate()->property("Enabled").toBool(); });
    const QString path = h.dir.filePath(QStringLiteral("keys.lst"));
    h.saveDialog.queueAnswer(path);
    h.form->btnCreate()->setFocus(Qt::TabFocusReason);
    QTest::keyPress(h.form->btnCreate(), Qt::Key_Space);
    QCOMPARE(h.saveDialog.requests().size(), 0);
    QTest::keyRelease(h.form->btnCreate(), Qt::Key_Space);
    QCOMPARE(readAll(path), h.addressLine(0) + h.addressLine(2) + h.addressLine(3) + h.addressLine(4)
                                + h.addressLine(5) + "//By Tolvane\r\n");
    QCOMPARE(enabledDuringRun, QList<bool>(5, false));
    QVERIFY(h.form->btnCreate()->property("Enabled").toBool());
}

void TestSongCommands::listFileBytesInListOrder()
{
    Harness h;
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
    QVERIFY(h.form->btnCreate()->isEnabled());
    if (h.form->process())
        QVERIFY(!h.form->process()->isVisible());
}

void TestSongCommands::progressTexts()
{
    Harness h;
    QVERIFY(h.start());
    QWidget *bar = h.form->process();
    if (!bar)
        QSKIP("the form has no progress bar");
    h.tick({1, 3, 5});
    QStringList texts;
    QList<bool> buttonEnabled;
    // Several addresses are asked for at once; the text counts the songs done
    // in list order, each number in turn.
    connect(qobject_cast<ProgressBar *>(bar), &ProgressBar::propertyChanged, this,
            [&](const QString &name) {
                if (name != u"Text")
                    return;
                texts << bar->property("Text").toString() + u'|' + bar->property("Value").toString();
                buttonEnabled << h.form->btnCreate()->isEnabled();
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

void TestSongCommands::dialogTypeChoosesTheFormat_data()
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

void TestSongCommands::dialogTypeChoosesTheFormat()
{
    QFETCH(int, type);
    QFETCH(QString, description);
    QFETCH(ListFormat, format);
    Harness h;
    QVERIFY(h.start());
    h.tick({4, 1});
    const QString path = h.dir.filePath(QStringLiteral("list.out"));
    h.saveDialog.queueAnswer(path, type);
    h.clickCreate();

    QCOMPARE(h.saveDialog.requests().constFirst().filter.split(u'|').at(2 * type), description);
    std::vector<ListEntry> entries;
    for (const int slot : {1, 4}) {
        entries.push_back({slot + 1, h.form->catalogue().song(slot)});
        QCOMPARE(entries.back().song.downloadUrl,
                 QString::fromLatin1(h.addressLine(slot).chopped(2))); // resolved by the run
    }
    QString error;
    QCOMPARE(readAll(path), ListFormats::encode(format, entries, &error).value_or("<refused>"));
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().constFirst().text, QStringLiteral("列表成功生成！"));
}

void TestSongCommands::overwriteQuestion_data()
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

void TestSongCommands::overwriteQuestion()
{
    QFETCH(QList<MessageBox::Answer>, answers);
    QFETCH(int, dialogs);
    QFETCH(bool, written);

    Harness h;
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
    QVERIFY(h.form->btnCreate()->isEnabled());
}

void TestSongCommands::noTickedRows()
{
    Harness h;
    QVERIFY(h.start());
    const QString path = h.dir.filePath(QStringLiteral("none.lst"));
    h.saveDialog.queueAnswer(path);
    const QString textBefore = h.form->process() ? h.form->process()->property("Text").toString()
                                                 : QString();
    h.clickCreate();
    QCOMPARE(readAll(path), QByteArray("//By Tolvane\r\n"));
    QCOMPARE(h.messageBox.shown().size(), 1);
    QCOMPARE(h.messageBox.shown().constFirst().text, QStringLiteral("列表成功生成！"));
    if (QWidget *bar = h.form->process()) {
        QCOMPARE(bar->property("Max").toInt(), 1); // a maximum of 0 is raised to 1
        QCOMPARE(bar->property("Text").toString(), textBefore);
    }
}

void TestSongCommands::refreshesCachedAddresses()
{
    Harness h;
    QVERIFY(h.start());
    h.doubleClick(h.rowPoint(3));
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
    QCOMPARE(h.form->catalogue().song(3).downloadUrl, fresh);
    QCOMPARE(readAll(path), fresh.toLatin1() + "\r\n//By Tolvane\r\n");
}

void TestSongCommands::ticksChangedDuringTheRun()
{
    askOneSongAtATime(); // with several at once, the run reaches all six rows at the start
    Harness h;
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
    if (QWidget *bar = h.form->process())
        QCOMPARE(bar->property("Max").toInt(), 2); // the first count stays
}

void TestSongCommands::failingAddressMidRun()
{
    askOneSongAtATime(); // row 4 is not reached before row 3 has failed
    Harness h;
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
    QCOMPARE(h.form->lblInfo()->text(), QStringLiteral("生成列表失败，请检查网络..."));
    QVERIFY(h.form->btnCreate()->isEnabled());
    QCOMPARE(h.site.requestCount(h.addressTarget(3)), 0); // stopped at once
    QCOMPARE(h.messageBox.shown().size(), 1);             // only the overwrite question
    if (QWidget *bar = h.form->process()) {
        QVERIFY(bar->isVisible()); // left as it stood
        QCOMPARE(bar->property("Text").toString(), QStringLiteral("正在处理第 2/4 个选中的项目..."));
    }
}

void TestSongCommands::unwritableTarget()
{
    Harness h;
    QVERIFY(h.start());
    h.tick({0});
    h.saveDialog.queueAnswer(h.dir.filePath(QStringLiteral("missing/folder/list.lst")));
    h.clickCreate();
    QCOMPARE(h.form->lblInfo()->text(), QStringLiteral("生成列表失败，无法写入文件..."));
    QVERIFY(h.form->btnCreate()->isEnabled());
    QCOMPARE(h.site.totalRequests(), 0);
    QVERIFY(h.messageBox.shown().isEmpty());
}

void TestSongCommands::closingTheWindowMidRun()
{
    askOneSongAtATime(); // the third request is the third song
    Harness h;
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
    QVERIFY(h.form->isUnloaded());
    QCOMPARE(requests, 3); // the run ended with the window
    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(QDir(h.dir.path()).entryList({QStringLiteral("*.lst*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("closed.lst")});
    QCOMPARE(h.messageBox.shown().size(), 1); // the overwrite question only
}

void TestSongCommands::closingTheWindowWithRequestsInFlight()
{
    Harness h;
    QVERIFY(h.start());
    h.tick({0, 1, 2, 3, 4, 5});
    for (int slot = 0; slot < 6; ++slot) {
        ScriptedAnswer slow;
        slow.body = DemoCatalogue::filePath(h.form->catalogue().song(slot).songId).toLatin1();
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
    QElapsedTimer clock;
    clock.start();
    h.clickCreate();
    // The run ended with the window, long before the answers would have come.
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(h.form->isUnloaded());
    QCOMPARE(requestsAtClose, 4);
    QTest::qWait(200);
    QCOMPARE(h.site.totalRequests(), 4); // nothing asked after the close
    QCOMPARE(h.site.requestCount(h.addressTarget(4)), 0);
    QCOMPARE(readAll(path), QByteArray("last week\r\n"));
    QCOMPARE(h.messageBox.shown().size(), 1); // the overwrite question only
    for (int slot = 0; slot < 6; ++slot)
        QVERIFY(h.form->catalogue().song(slot).downloadUrl.isEmpty());
}

QTEST_MAIN(TestSongCommands)
#include "tst_songcommands.moc"
