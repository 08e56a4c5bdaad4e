#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <memory>

#include "app/frmmain.h"
#include "platform/settingsstore.h"
#include "tests/support/memoryclipboard.h"
#include "tests/support/recordingshellopener.h"
#include "tests/support/scriptedmessagebox.h"
#include "tests/support/scriptedsavedialog.h"
#include "tools/demosite/demosite.h"

class QLabel;

// The main window with its song list, for the tests of the window's song
// commands and of its list-file run.
namespace Lumisong {

class Catalogue;
class ProgressBar;
class ListItemsModel;
class ListView;

// A main window over a demo site of six songs, with answerable dialogs and a
// clipboard and browser the test can read.
struct SongWindowHarness
{
    QTemporaryDir dir;
    DemoSite site{6};
    ScriptedMessageBox messageBox;
    ScriptedSaveDialog saveDialog;
    MemoryClipboard clipboard;
    RecordingShellOpener opener;
    SettingsStore settings = SettingsStore::atPath(dir.filePath(QStringLiteral("settings.ini")));
    std::unique_ptr<Catalogue> catalogue; // the window's, made by start()
    std::unique_ptr<frmMain> form;
    QStringList infos;
    int unloads = 0; // times the window said it unloaded
    int parallelRequests = 4; // the window's list-file run, set before start()

    // Shows the window and loads the catalogue into the list; false when the
    // site or the window cannot be brought up.
    bool start();

    ListView *list() const;
    zephbutton *btnCreate() const;
    // The window's controls by their design names.
    zephbutton *button(const char *name) const;
    ProgressBar *process() const;
    QLabel *lblInfo() const;
    // The song the double-click and the context menu act on (0-based), as
    // the menu's title copy reads it; -1 when it names no loaded song.
    int currentSong();
    ListItemsModel *items() const;
    QWidget *viewport() const;
    QPoint rowPoint(int row) const;
    QPoint belowRows() const;
    QString addressTarget(int slot) const;
    QByteArray addressLine(int slot) const;
    void tick(std::initializer_list<int> rows);
    // Runs `probe` whenever a request reaches the site, i.e. while the
    // program waits for it.
    void onEachRequest(std::function<void()> probe);
    // Clicks "生成列表" and waits for the run's end (the button enabled again,
    // or the window closed).
    void clickCreate();
    bool waitForCreate();
    // As a desktop delivers it: a click, then a second press that is a
    // double-click, then its release.
    void doubleClick(const QPoint &pos);
};

// Requests give up within seconds, so that a fault fails a test rather than
// hanging it.
void boundRequestTimes();

// The file's bytes; "<missing>" when it cannot be read.
QByteArray readAll(const QString &path);

} // namespace Lumisong
