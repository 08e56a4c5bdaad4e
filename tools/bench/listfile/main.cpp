// lumisong-bench-listfile [songs] [runs] [window|export|program|formats]: times a list-file run of
// every song against the demo site in process (it answers at once), three ways:
//   window   - btnCreate in the main window on the offscreen platform, with
//              the progress bar redrawn for every song;
//   export   - the headless export in this process;
//   program  - `lumisong --export FILE --all` as a child process (start-up,
//              catalogue and all included);
// and the bytes of each kind of list for the same songs (formats), which the
// run makes once at its end.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>

#include "app/frmmain.h"
#include "cli/headlessexport.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "catalogue/listformat.h"
#include "platform/settingsstore.h"
#include "controls/button/zephbutton.h"
#include "formcontrol.h"
#include "memoryclipboard.h"
#include "recordingshellopener.h"
#include "scriptedmessagebox.h"
#include "scriptedsavedialog.h"
#include "tools/bench/programrun.h"
#include "tools/bench/windowbench.h"
#include "tools/demosite/demosite.h"

using namespace Lumisong;
using Bench::median;
using Bench::waitForExposed;

namespace {

int lineCount(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : -1;
}

double windowRun(DemoSite &site, const QString &path, int songs)
{
    QTemporaryDir dir;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(QStringLiteral("s.ini")));
    ScriptedMessageBox messageBox;
    ScriptedSaveDialog saveDialog;
    MemoryClipboard clipboard;
    RecordingShellOpener opener;
    frmMain::Environment env{&messageBox, &settings, nullptr, site.baseUrl(), QString()};
    env.saveDialog = &saveDialog;
    env.clipboard = &clipboard;
    env.shellOpener = &opener;
    frmMain form(env);
    form.show();
    if (!waitForExposed(form))
        return -1;
    Bench::tickTimer2(form);
    const ListView *list = Test::formControl<ListView>(&form, "lstXg");
    if (!Bench::waitUntil([list] { return list->items()->rowCount() > 0; }, 20000))
        return -1;
    emit Test::formControl<zephbutton>(&form, "btnSelectAll")->Click();
    QFile::remove(path);
    saveDialog.queueAnswer(path);
    QElapsedTimer clock;
    clock.start();
    emit Test::formControl<zephbutton>(&form, "btnCreate")->Click();
    Bench::waitUntil([&messageBox] { return !messageBox.shown().isEmpty(); }, 60000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    const bool told = messageBox.shown().size() == 1;
    return told && lineCount(path) == songs + 1 ? ms : -1;
}

double exportRun(DemoSite &site, const QString &path, int songs)
{
    std::FILE *sink = std::fopen("/dev/null", "w");
    HeadlessExport exporter(site.baseUrl(), path, QString(), sink, sink);
    QEventLoop loop; // the bench's own: the command runs on it as on the program's
    QObject::connect(&exporter, &HeadlessCommand::finished, &loop, &QEventLoop::exit);
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&exporter, &HeadlessCommand::start, Qt::QueuedConnection);
    const int status = loop.exec();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::fclose(sink);
    return status == 0 && lineCount(path) == songs + 1 ? ms : -1;
}

double programRun(DemoSite &site, const QString &path, int songs)
{
    const double ms = Bench::timeProgram(QStringLiteral(LUMISONG_BINARY),
                                         {QStringLiteral("--site"), site.baseUrl(),
                                          QStringLiteral("--export"), path, QStringLiteral("--all")},
                                         60000);
    return ms >= 0 && lineCount(path) == songs + 1 ? ms : -1;
}

// Milliseconds to make the bytes of `format` for every song of the site.
double formatRun(const DemoSite &site, ListFormat format)
{
    std::vector<ListEntry> entries;
    int row = 0;
    for (const DemoCatalogue::Song &s : site.catalogue().songs())
        entries.push_back({++row, SongRecord{s.songId, s.album, s.title, s.singer, s.releaseDate,
                                             s.dailyDownloads, s.totalDownloads,
                                             site.baseUrl() + DemoCatalogue::filePath(s.songId)}});
    QString error;
    QElapsedTimer clock;
    clock.start();
    const std::optional<QByteArray> bytes = ListFormats::encode(format, entries, &error);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return bytes ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "lumisong.*.info=false");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int songs = std::clamp(args.size() > 1 ? args.at(1).toInt() : 1000, 1, 1000);
    const int runs = std::max(args.size() > 2 ? args.at(2).toInt() : 5, 1);
    const QString only = args.size() > 3 ? args.at(3) : QString();
    const auto wanted = [&only](const char *mode) { return only.isEmpty() || only == QLatin1String(mode); };

    DemoSite site(songs);
    if (!site.listen()) {
        std::fprintf(stderr, "cannot start the demo site\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.lst"));
    QList<double> window, exported, program;
    QList<QList<double>> formats(ListFormats::names().size());
    for (int run = 0; run < runs; ++run) {
        if (wanted("window"))
            window << windowRun(site, path, songs);
        if (wanted("export"))
            exported << exportRun(site, path, songs);
        if (wanted("program"))
            program << programRun(site, path, songs);
        for (qsizetype f = 0; f < formats.size() && wanted("formats"); ++f)
            formats[f] << formatRun(site, ListFormat(f));
        const auto failed = [](const QList<double> &ms) { return !ms.isEmpty() && ms.last() < 0; };
        if (failed(window) || failed(exported) || failed(program)
            || std::any_of(formats.cbegin(), formats.cend(), failed)) {
            std::fprintf(stderr, "run %d did not write the whole list\n", run);
            return 1;
        }
    }
    std::printf("lumisong-bench-listfile: %d ticked songs, %d runs (target: at most 3000 ms each)\n",
                songs, runs);
    const auto print = [](const char *what, const QList<double> &ms) {
        if (ms.isEmpty())
            return;
        std::printf("  %-42s median %8.1f ms, max %8.1f ms\n", what, median(ms),
                    *std::max_element(ms.begin(), ms.end()));
    };
    print("window: btnCreate run (offscreen)", window);
    print("headless export in process", exported);
    print("lumisong --export --all (whole program)", program);
    for (qsizetype f = 0; f < formats.size(); ++f) {
        const QByteArray what = "bytes of the " + ListFormats::name(ListFormat(f)).toLatin1() + " list";
        print(what.constData(), formats[f]);
    }
    return 0;
}
