// lumisong-preview --replay, checked from outside: scripts of input
// notifications against the skinned button and the lines it prints, the
// script's errors, and the final look.

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "tests/tools/preview/previewprocess.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

const QStringList Button{u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s, u"75x23"_s,
                         u"--set"_s,     u"ButtonStyle=10"_s,      u"--set"_s,  u"Caption=OK"_s};

// Plays `script` from standard input.
PreviewProcess replay(const QString &script, const QStringList &extra = {})
{
    return PreviewProcess::run(Button + extra + QStringList{u"--replay"_s, u"-"_s},
                               script.toUtf8());
}

} // namespace

class ButtonReplayTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void scripts_data();
    void scripts();
    void loadedButtonTipHasTheSystemColourAsRgb();
    void scriptFromAFileAndTheFinalLook();
    void buttonBelowTheMinimumGrows();
    void malformedLines_data();
    void malformedLines();
    void badCombinations_data();
    void badCombinations();
    void scriptSizeLimit_data();
    void scriptSizeLimit();

private:
    QTemporaryDir m_dir;
};

void ButtonReplayTest::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("output"); // lines joined by |

    QTest::newRow("double click, comments and blank lines")
        << u"# a double click\n\nmove 10 10\npress left 10 10\nrelease left 10 10\ndblclick\n"
           "release left 10 10\n"_s
        << u"MouseEnter|tooltip balloon=0 icon=0 back=system rtl=0 title=\"\" text=\"\"|= state 1 "
           u"value 0|"
           "MouseDown 1 0 10 10|= state 2 value 0|Click|MouseUp 1 0 10 10|= state 0 value 0|"
           "MouseDown 1 0 10 10|DblClick|= state 2 value 0|Click|MouseUp 1 0 10 10|= state 0 value 0"_s;
    QTest::newRow("the pointer is over exactly inside W x H")
        << u"move 75 5\nmove 74 22\nmove 0 23\n"_s
        << u"= state 0 value 0|MouseEnter|tooltip balloon=0 icon=0 back=system rtl=0 title=\"\" "
           u"text=\"\"|"
           "= state 1 value 0|= state 0 value 0"_s;
    QTest::newRow("release on the top row, then a right click")
        << u"press left 5 5 1\nrelease left 5 0 1\npress right 5 5\nrelease right 5 5 2\n"_s
        << u"MouseDown 1 1 5 5|= state 2 value 0|MouseUp 1 1 5 0|= state 2 value 0|= state 2 value "
           u"0|"
           "MouseUp 2 2 5 5|= state 2 value 0"_s;
    QTest::newRow("Alt+Space, Enter, arrows")
        << u"keydown 32 4\nkeydown 13\nkeyup 13\nkeydown 37 1\nkeydown 40\n"_s
        << u"= state 0 value 0|Click|KeyDown 13 0|= state 0 value 0|= state 0 value 0|"
           "focus previous|KeyDown 37 1|= state 0 value 0|focus next|KeyDown 40 0|= state 0 value 0"_s;
    QTest::newRow("check button: Space repeats, access keys, not Enter as default")
        << u"set Mode=1\nkeydown 32\nkeydown 32\nkeyup 32\naccess 111\naccess 13\n"_s
        << u"= state 0 value 0|KeyDown 32 0|= state 2 value 1|KeyDown 32 0|= state 2 value 0|"
           "Click|KeyUp 32 0|= state 0 value 0|Click|= state 2 value 1|= state 2 value 1"_s;
    QTest::newRow("menu above and left, latched, flags kept")
        << u"menu 4 2\nmove 5 5\npress left 5 5\nmenuclose 6 6\nrelease left 5 5\npress left 5 5\n"_s
        << u"= state 0 value 0|MouseEnter|tooltip balloon=0 icon=0 back=system rtl=0 title=\"\" "
           u"text=\"\"|"
           "= state 1 value 0|menu 0 0 40|= state 2 value 0|= state 2 value 0|= state 0 value 0|"
           "menu 0 0 40|= state 2 value 0"_s;
    QTest::newRow("menu closed elsewhere; Enter still clicks")
        << u"menu 0 0x02\nmenuclose 200 5\npress left 5 5\nkeydown 13\nunmenu\npress left 5 5\n"_s
        << u"= state 0 value 0|= state 0 value 0|menu 0 23 2|= state 0 value 0|Click|KeyDown 13 0|"
           "= state 0 value 0|= state 0 value 0|MouseDown 1 0 5 5|= state 2 value 0"_s;
    QTest::newRow("menu none changes nothing; a bad align only presses")
        << u"menu none\nmenu -1\npress left 5 5\nrelease left 5 5\n"_s
        << u"= state 0 value 0|= state 0 value 0|= state 2 value 0|= state 0 value 0"_s;
    QTest::newRow("tooltip as the user sees it")
        << u"set ToolTip=Line \"one\"\\nsecond\nset TooltipTitle=生成\nset ToolTipIcon=3\nset "
           u"ToolTipType=1\n"
           "set TooltipBackColor=rgb(1, 2, 3)\nset RightToLeft=true\nmove 1 1\n"_s
        << u"= state 0 value 0|= state 0 value 0|= state 0 value 0|= state 0 value 0|= state 0 "
           u"value 0|"
           "= state 0 value 0|MouseEnter|tooltip balloon=1 icon=3 back=rgb(1, 2, 3) rtl=1 "
           "title=\"生成\" "
           "text=\"Line \\\"one\\\"\\\\nsecond\"|= state 1 value 0"_s;
    QTest::newRow("no tooltip while pressed; none for a disabled button")
        << u"press left 5 5\nmove 5 5\nrelease left 5 5\nset Enabled=false\nmove 6 6\npress left 5 5\n"_s
        << u"MouseDown 1 0 5 5|= state 2 value 0|MouseEnter|= state 2 value 0|Click|MouseUp 1 0 5 "
           u"5|"
           "= state 0 value 0|= state 0 value 0|= state 0 value 0|= state 0 value 0"_s;
}

void ButtonReplayTest::scripts()
{
    QFETCH(QString, script);
    QFETCH(QString, output);
    const PreviewProcess run = replay(script);
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.output).trimmed().split(u'\n').join(u'|'), output);
}

void ButtonReplayTest::loadedButtonTipHasTheSystemColourAsRgb()
{
    const QString bag = m_dir.filePath(u"bag.json"_s);
    QFile file(bag);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"json({"buttonstyle": 10, "caption": "全选(&A)", "tooltip": "tip"})json");
    file.close();
    const PreviewProcess run =
        PreviewProcess::run({u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s, u"61x23"_s,
                             u"--bag"_s, bag, u"--replay"_s, u"-"_s},
                            "move 3 3\naccess 97\n");
    QCOMPARE(run.status, 0);
    QCOMPARE(
        QString::fromUtf8(run.output).trimmed().split(u'\n'),
        (QStringList{
            u"MouseEnter"_s,
            u"tooltip balloon=0 icon=0 back=rgb(255, 255, 225) rtl=0 title=\"\" text=\"tip\""_s,
            u"= state 1 value 0"_s, u"Click"_s, u"= state 1 value 0"_s}));
}

void ButtonReplayTest::scriptFromAFileAndTheFinalLook()
{
    const QString script = m_dir.filePath(u"press.txt"_s);
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("set Mode=1\npress left 5 5\nrelease left 5 5\n");
    file.close();
    const QString png = m_dir.filePath(u"checked.png"_s);
    const PreviewProcess run =
        PreviewProcess::run(Button + QStringList{u"--replay"_s, script, u"--out"_s, png});
    QCOMPARE(run.status, 0);
    QVERIFY(run.output.endsWith("= state 2 value 1\n"));
    // The checked toggle is drawn pressed: the same pixels as --state down.
    const QString down = m_dir.filePath(u"down.png"_s);
    QCOMPARE(
        PreviewProcess::run(Button + QStringList{u"--state"_s, u"down"_s, u"--out"_s, down}).status,
        0);
    QCOMPARE(QImage(png), QImage(down));
}

// A running form grows a button below 220 twips (15 pixels at 96 dpi) when it
// loads, so the pointer at (13, 13) is inside it and the release clicks.
void ButtonReplayTest::buttonBelowTheMinimumGrows()
{
    const QString png = m_dir.filePath(u"small.png"_s);
    const PreviewProcess run = PreviewProcess::run(
        {u"--control"_s, u"Lumisong.zephbutton"_s, u"--size"_s, u"10x10"_s, u"--set"_s,
         u"ButtonStyle=2"_s, u"--replay"_s, u"-"_s, u"--out"_s, png},
        "press left 11 11\nrelease left 13 13\n");
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.output).trimmed().split(u'\n').join(u'|'),
             u"MouseDown 1 0 11 11|= state 2 value 0|Click|MouseUp 1 0 13 13|= state 0 value 0"_s);
    QCOMPARE(QImage(png).size(), QSize(15, 15));
}

void ButtonReplayTest::malformedLines_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("line");
    QTest::newRow("unknown action") << u"move 1 1\n\nfrobnicate\n"_s << 3;
    QTest::newRow("missing coordinate") << u"# comment\nmove 1\n"_s << 2;
    QTest::newRow("too many arguments") << u"dblclick 1\n"_s << 1;
    QTest::newRow("unknown mouse button") << u"press up 1 1\n"_s << 1;
    QTest::newRow("shift out of range") << u"keydown 32 8\n"_s << 1;
    QTest::newRow("not a number") << u"keyup 3x\n"_s << 1;
    QTest::newRow("set without a value") << u"set Caption\n"_s << 1;
    QTest::newRow("unknown property") << u"move 1 1\nset Colour=1\n"_s << 2;
    QTest::newRow("malformed value") << u"set Mode=two\n"_s << 1;
    QTest::newRow("menu with words") << u"menu left\n"_s << 1;
}

void ButtonReplayTest::malformedLines()
{
    QFETCH(QString, script);
    QFETCH(int, line);
    const PreviewProcess run = replay(script);
    QCOMPARE(run.status, 2);
    const QByteArray named = "line " + QByteArray::number(line) + ":";
    QVERIFY2(run.errors.contains(named), run.errors.constData());
}

void ButtonReplayTest::badCombinations_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("a progress bar has no input") << QStringList{
        u"--control"_s, u"Lumisong.ProgressBar"_s, u"--size"_s, u"80x20"_s, u"--replay"_s, u"-"_s};
    QTest::newRow("the state comes from the script")
        << (Button + QStringList{u"--state"_s, u"hot"_s, u"--replay"_s, u"-"_s});
    QTest::newRow("no such script") << (Button + QStringList{u"--replay"_s, u"/no/such/script"_s});
}

void ButtonReplayTest::badCombinations()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(PreviewProcess::run(arguments, "move 1 1\n").status, 2);
}

// A script of up to 1 MiB plays; a larger one is refused before any line plays.
void ButtonReplayTest::scriptSizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("status");
    QTest::newRow("1 MiB") << 1024 * 1024 << 0;
    QTest::newRow("one byte more") << 1024 * 1024 + 1 << 2;
}

void ButtonReplayTest::scriptSizeLimit()
{
    QFETCH(int, size);
    QFETCH(int, status);
    const QByteArray first = "move 1 1\n";
    const QByteArray script = first + QByteArray(size - first.size() - 1, '#') + '\n';
    const PreviewProcess run = replay(QString::fromLatin1(script));
    QCOMPARE(run.status, status);
    if (status == 0) {
        QVERIFY(run.output.endsWith("= state 1 value 0\n"));
    } else {
        QVERIFY(run.output.isEmpty());
        QVERIFY2(run.errors.contains("larger than 1048576 bytes"), run.errors.constData());
    }
}

QTEST_GUILESS_MAIN(ButtonReplayTest)
#include "tst_buttonreplay.moc"
