// What a screen reader learns of the main window and the update dialog,
// read through Qt's accessibility interfaces (what the AT-SPI bridge hands on).

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>

#include <memory>

#include "tests/support/formcontrol.h"
#include "app/frmmain.h"
#include "catalogue/catalogue.h"
#include "controls/progressbar/progressbar.h"
#include "forms/formloader.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "songwindowharness.h"
#include "tests/support/datacolumns.h"
#include "tests/support/recordingshellopener.h"
#include "update/ui/frmupdate.h"
#include "update/updatenotice.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

const QString Notes = u"修正了“列表”\n增加了下载"_s;

// The states the table speaks of, by their AT-SPI names.
QStringList stateNames(const QAccessible::State &s)
{
    QStringList names;
    const std::pair<bool, const char *> flags[] = {
        {bool(s.checkable), "checkable"}, {bool(s.checked), "checked"},
        {bool(s.invisible), "invisible"}, {bool(s.focused), "focused"},
        {bool(s.selected), "selected"},   {bool(s.disabled), "disabled"},
    };
    for (const auto &[on, name] : flags) {
        if (on)
            names << QLatin1String(name);
    }
    return names;
}

// The main window over the demo site with row 2 ticked, and the update
// dialog with its notes, both shown.
struct Windows
{
    SongWindowHarness main;
    RecordingShellOpener opener;
    std::unique_ptr<frmUpdate> dialog;

    bool start()
    {
        if (!main.start())
            return false;
        main.tick({1});
        dialog = std::make_unique<frmUpdate>(
            frmUpdate::Environment{nullptr, &opener, u"http://127.0.0.1:9/version.html"_s},
            &FormLoader::buildFile);
        UpdateNotice notice;
        notice.newestVersion = u"1.2.0"_s;
        notice.lblUpdate = u"检测到新版本：1.2.0"_s;
        notice.txtNew = Notes;
        dialog->announce(notice);
        dialog->show();
        return QTest::qWaitForWindowExposed(dialog.get());
    }

    // "frmMain", "frmUpdate", a control's name in either, or "lstXg:ROW,COLUMN"
    // for a cell of the list (row -1: the column header).
    QAccessibleInterface *find(const QString &path) const
    {
        if (path.startsWith(u"lstXg:")) {
            const QStringList at = path.mid(6).split(u',');
            QAccessibleInterface *list = QAccessible::queryAccessibleInterface(main.list());
            const int row = at.at(0).toInt();
            const int column = at.at(1).toInt();
            return list->child((row + 1) * list->tableInterface()->columnCount() + column);
        }
        for (QWidget *window : {static_cast<QWidget *>(main.form.get()),
                                static_cast<QWidget *>(dialog.get())}) {
            QWidget *widget = window->objectName() == path
                                  ? window
                                  : window->findChild<QWidget *>(path);
            if (widget)
                return QAccessible::queryAccessibleInterface(widget);
        }
        return nullptr;
    }
};

} // namespace

class TestAccessibility final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tree_data();
    void tree();
    void toggleTicksTheRow();
    void progressBarNamedByItsTextWhileShown();
    void checkBoxLabelledByItsLabel();

private:
    std::unique_ptr<Windows> m_windows;
};

void TestAccessibility::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    boundRequestTimes();
}

void TestAccessibility::init()
{
    m_windows = std::make_unique<Windows>();
    QVERIFY(m_windows->start());
}

void TestAccessibility::cleanup()
{
    m_windows.reset();
}

void TestAccessibility::tree_data()
{
    Test::addColumns<QString, QAccessible::Role, QString, QStringList, QStringList, QStringList,
                     QString>({"path", "role", "name", "states", "notStates", "actions", "keys"});
    const QStringList press{QAccessibleActionInterface::pressAction()};
    const QStringList toggle{QAccessibleActionInterface::toggleAction()};
    const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    row("main window") << u"frmMain"_s << QAccessible::Window << u"Lumisong"_s << QStringList()
                       << QStringList{u"invisible"_s} << QStringList() << QString();
    row("minimise") << u"btMin"_s << QAccessible::Button << u"最小化"_s << QStringList()
                    << QStringList() << press << QString();
    row("close") << u"btClose"_s << QAccessible::Button << u"关闭"_s << QStringList()
                 << QStringList() << press << QString();
    row("select all") << u"btnSelectAll"_s << QAccessible::Button << u"全选(A)"_s
                      << QStringList() << QStringList() << press << u"Alt+A"_s;
    row("select none") << u"btnSelectNone"_s << QAccessible::Button << u"全不选(N)"_s
                       << QStringList() << QStringList() << press << u"Alt+N"_s;
    row("invert") << u"btnSelectInvert"_s << QAccessible::Button << u"反选(I)"_s
                  << QStringList() << QStringList() << press << u"Alt+I"_s;
    row("create list") << u"btnCreate"_s << QAccessible::Button << u"生成列表"_s << QStringList()
                       << QStringList() << press << QString();
    row("idle bar not showing") << u"process"_s << QAccessible::ProgressBar << QString()
                                << QStringList{u"invisible"_s} << QStringList() << QStringList()
                                << QString();
    row("list") << u"lstXg"_s << QAccessible::Table << QString() << QStringList()
                << QStringList{u"invisible"_s} << QStringList() << QString();
    row("header") << u"lstXg:-1,0"_s << QAccessible::ColumnHeader << u"序号"_s << QStringList()
                  << QStringList{u"checkable"_s} << QStringList() << QString();
    // The first row is current from the start, though neither selected nor ticked.
    row("unticked row") << u"lstXg:0,0"_s << QAccessible::Cell << u"1"_s
                        << QStringList{u"checkable"_s, u"focused"_s}
                        << QStringList{u"checked"_s, u"selected"_s} << toggle << QString();
    row("ticked row") << u"lstXg:1,0"_s << QAccessible::Cell << u"2"_s
                      << QStringList{u"checkable"_s, u"checked"_s} << QStringList{u"focused"_s}
                      << toggle << QString();
    row("cell past the check column") << u"lstXg:1,5"_s << QAccessible::Cell << QString()
                                      << QStringList() << QStringList{u"checkable"_s}
                                      << QStringList() << QString();

    row("update dialog") << u"frmUpdate"_s << QAccessible::Dialog << u"自动更新"_s
                         << QStringList() << QStringList{u"invisible"_s} << QStringList()
                         << QString();
    row("no-more box") << u"chkNoMore"_s << QAccessible::CheckBox << u"本版本不再提示"_s
                       << QStringList{u"checkable"_s} << QStringList{u"checked"_s}
                       << toggle << QString();
    row("notes") << u"txtNew"_s << QAccessible::EditableText << Notes << QStringList()
                 << QStringList() << QStringList() << QString();
    row("yes") << u"btnOk"_s << QAccessible::Button << u"是(Y)"_s << QStringList()
               << QStringList() << press << u"Alt+Y"_s;
    row("no") << u"btnCancel"_s << QAccessible::Button << u"否(N)"_s << QStringList()
              << QStringList() << press << u"Alt+N"_s;
}

void TestAccessibility::tree()
{
    QFETCH(QString, path);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QStringList, states);
    QFETCH(QStringList, notStates);
    QFETCH(QStringList, actions);
    QFETCH(QString, keys);

    QAccessibleInterface *iface = m_windows->find(path);
    QVERIFY(iface && iface->isValid());
    QCOMPARE(iface->role(), role);
    if (path == u"lstXg:1,5")
        name = m_windows->main.catalogue->song(1).dailyDownloads;
    if (!name.isNull() || role == QAccessible::ProgressBar)
        QCOMPARE(iface->text(QAccessible::Name), name);
    const QStringList has = stateNames(iface->state());
    for (const QString &state : std::as_const(states))
        QVERIFY2(has.contains(state), qPrintable(state));
    for (const QString &state : std::as_const(notStates))
        QVERIFY2(!has.contains(state), qPrintable(state));

    QAccessibleActionInterface *action = iface->actionInterface();
    const QStringList offered = action ? action->actionNames() : QStringList();
    for (const QString &wanted : std::as_const(actions))
        QVERIFY2(offered.contains(wanted), qPrintable(wanted));
    if (actions.isEmpty())
        QVERIFY2(!offered.contains(QAccessibleActionInterface::toggleAction()),
                 qPrintable(offered.join(u',')));
    if (!actions.isEmpty())
        QCOMPARE(action->keyBindingsForAction(actions.constFirst()),
                 keys.isEmpty() ? QStringList() : QStringList{keys});
}

void TestAccessibility::toggleTicksTheRow()
{
    QAccessibleInterface *cell = m_windows->find(u"lstXg:2,0"_s);
    QVERIFY(cell);
    cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(m_windows->main.items()->isChecked(2));
    QVERIFY(cell->state().checked);
    QCOMPARE(m_windows->main.list()->selectedRow(), -1); // a tick, not a selection
    cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!m_windows->main.items()->isChecked(2));
}

void TestAccessibility::progressBarNamedByItsTextWhileShown()
{
    ProgressBar *bar = m_windows->main.process();
    bar->setVisible(true);
    bar->setText(u"正在处理第 1/3 个选中的项目..."_s);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    QCOMPARE(iface->text(QAccessible::Name), u"正在处理第 1/3 个选中的项目..."_s);
    QVERIFY(!iface->state().invisible);
}

// The label names the box, and a click on the label still ticks it.
void TestAccessibility::checkBoxLabelledByItsLabel()
{
    frmUpdate &d = *m_windows->dialog;
    QCOMPARE(d.lblNoMore()->buddy(), d.chkNoMore());
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(d.chkNoMore());
    const auto labels = box->relations(QAccessible::Label);
    QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
                        [&d](const auto &r) { return r.first->object() == d.lblNoMore(); }));
    QTest::mouseClick(d.lblNoMore(), Qt::LeftButton);
    QCOMPARE(d.chkNoMore()->checkState(), Qt::Checked);
}

QTEST_MAIN(TestAccessibility)

#include "tst_accessibility.moc"
