#include "tests/support/formcontrol.h"
#include "songwindowharness.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <utility>
#include <vector>
#include <QTest>

#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "catalogue/catalogue.h"
#include "net/fetchlimits.h"

namespace Lumisong {

bool SongWindowHarness::start()
{
    if (!site.listen())
        return false;
    frmMain::Environment env{&messageBox, &settings, nullptr, site.baseUrl(),
                             site.baseUrl() + u"/version.html"};
    env.clipboard = &clipboard;
    env.saveDialog = &saveDialog;
    env.shellOpener = &opener;
    env.parallelRequests = parallelRequests;
    catalogue = std::make_unique<Catalogue>(site.baseUrl());
    env.catalogue = catalogue.get();
    form = std::make_unique<frmMain>(env);
    QObject::connect(form.get(), &frmMain::infoChanged,
                     [this](const QString &text) { infos << text; });
    QObject::connect(form.get(), &frmMain::unloaded, [this] { ++unloads; });
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return false;
    // Timer2's tick loads the catalogue into the list.
    QTimer *timer2 = Test::formControl<QTimer>(form.get(), "Timer2");
    timer2->setInterval(0);
    timer2->start();
    if (!QTest::qWaitFor([this] { return !infos.isEmpty(); }, 10000))
        return false;
    site.resetCounters();
    return items()->rowCount() == 6;
}

ListView *SongWindowHarness::list() const
{
    return Test::formControl<ListView>(form.get(), "lstXg");
}

ListItemsModel *SongWindowHarness::items() const
{
    return Test::formControl<ListView>(form.get(), "lstXg")->items();
}

QWidget *SongWindowHarness::viewport() const
{
    return Test::formControl<ListView>(form.get(), "lstXg")->viewport();
}

QPoint SongWindowHarness::rowPoint(int row) const
{
    return list()->visualRect(items()->index(row, 2)).center();
}

QPoint SongWindowHarness::belowRows() const
{
    const QRect last = list()->visualRect(items()->index(items()->rowCount() - 1, 2));
    return QPoint(last.center().x(), last.bottom() + 40);
}

QString SongWindowHarness::addressTarget(int slot) const
{
    return site.addressTarget(catalogue->song(slot).songId);
}

QByteArray SongWindowHarness::addressLine(int slot) const
{
    return (site.baseUrl() + DemoCatalogue::filePath(catalogue->song(slot).songId))
               .toLatin1() +
           "\r\n";
}

zephbutton *SongWindowHarness::btnCreate() const
{
    return button("btnCreate");
}

zephbutton *SongWindowHarness::button(const char *name) const
{
    return Test::formControl<zephbutton>(form.get(), name);
}

ProgressBar *SongWindowHarness::process() const
{
    return Test::formControl<ProgressBar>(form.get(), "process");
}

QLabel *SongWindowHarness::lblInfo() const
{
    return Test::formControl<QLabel>(form.get(), "lblInfo");
}

int SongWindowHarness::currentSong()
{
    // The title copy acts on the current song; every song gets a title of its
    // own for the while.
    std::vector<QString> titles;
    for (int slot = 0; slot < catalogue->songCount(); ++slot) {
        titles.push_back(std::exchange(catalogue->song(slot).title, QString::number(slot)));
    }
    clipboard.setText(QStringLiteral("none"));
    Test::formControl<QAction>(form.get(), "mnuCopyTitle")->trigger();
    bool known = false;
    const int slot = clipboard.text().toInt(&known);
    for (int k = 0; k < int(titles.size()); ++k)
        catalogue->song(k).title = titles[size_t(k)];
    return known ? slot : -1;
}

void SongWindowHarness::tick(std::initializer_list<int> rows)
{
    for (const int row : rows)
        items()->setChecked(row, true);
}

void SongWindowHarness::onEachRequest(std::function<void()> probe)
{
    QObject::connect(&site, &DemoSite::requestReceived, form.get(), std::move(probe));
}

void SongWindowHarness::clickCreate()
{
    QTest::mouseClick(btnCreate(), Qt::LeftButton);
    waitForCreate();
}

bool SongWindowHarness::waitForCreate()
{
    return QTest::qWaitFor([this] { return btnCreate()->isEnabled() || unloads > 0; }, 20000);
}

void SongWindowHarness::doubleClick(const QPoint &pos)
{
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, pos);
}

void boundRequestTimes()
{
    FetchLimits limits;
    limits.idleTimeoutMs = 3000;
    limits.totalTimeoutMs = 5000;
    setFetchLimits(limits);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace Lumisong
