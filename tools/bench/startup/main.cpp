// lumisong-bench-startup [songs] [runs]: measures the catalogue step of the
// main window against the demo site in process, on the offscreen platform:
// from the first Timer2 tick until the rows are in the list and painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "app/frmmain.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "net/fetchlimits.h"
#include "platform/settingsstore.h"
#include "formcontrol.h"
#include "scriptedmessagebox.h"
#include "tools/bench/windowbench.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using Bench::median;
using Bench::waitForExposed;

namespace {

struct Sample
{
    double loadMs = 0;  // tick -> handler returned: fetch, parse, rows appended
    double paintMs = 0; // handler returned -> list painted
    double totalMs() const { return loadMs + paintMs; }
};

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int songs = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int runs = args.size() > 2 ? args.at(2).toInt() : 15;

    DemoSite site(songs);
    if (!site.listen()) {
        std::fprintf(stderr, "cannot start the demo site\n");
        return 1;
    }
    QTemporaryDir dir;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(QStringLiteral("s.ini")));
    ScriptedMessageBox messageBox;

    QList<Sample> samples;
    for (int run = 0; run < runs; ++run) {
        frmMain form({&messageBox, &settings, nullptr, site.baseUrl(), QString()});
        form.show();
        if (!waitForExposed(form)) {
            std::fprintf(stderr, "the window was not shown\n");
            return 1;
        }
        QElapsedTimer clock;
        clock.start();
        ListView *list = Test::formControl<ListView>(&form, "lstXg");
        // Ends once the rows have gone in, before the event loop lays the
        // list out: the paint is timed on its own below.
        QEventLoop loop;
        QObject::connect(list->items(), &QAbstractItemModel::rowsInserted, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        Bench::tickTimer2(form);
        loop.exec();
        const qint64 loaded = clock.nsecsElapsed();
        list->viewport()->repaint();
        const qint64 painted = clock.nsecsElapsed();
        if (list->items()->rowCount() != qMin(songs, 1000)) {
            std::fprintf(stderr, "run %d: %d rows instead of %d\n", run,
                         list->items()->rowCount(), qMin(songs, 1000));
            return 1;
        }
        // The first run warms caches (fonts, sockets); it is not counted.
        if (run > 0)
            samples.append({ms(loaded), ms(painted - loaded)});
    }
    QList<double> load, paint, total;
    for (const Sample &s : samples) {
        load.append(s.loadMs);
        paint.append(s.paintMs);
        total.append(s.totalMs());
    }
    std::printf("lumisong-bench-startup: %d songs, %lld runs counted (target: at most 300 ms)\n",
                songs, static_cast<long long>(samples.size()));
    std::printf("  first Timer2 tick -> rows in the list : median %7.2f ms\n", median(load));
    std::printf("  rows in the list  -> list painted     : median %7.2f ms\n", median(paint));
    std::printf("  first Timer2 tick -> rows shown       : median %7.2f ms, max %7.2f ms\n",
                median(total), *std::max_element(total.begin(), total.end()));
    closeAllConnections();
    return 0;
}
