#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "catalogue/listfilerun.h"
#include "catalogue/listformat.h"

class QShortcut;
class QWidget;

namespace Lumisong {

class Catalogue;
class ListItemsModel;
class ProgressBar;
class MessageBox;
class SaveDialog;
class SettingsStore;

// The "生成列表" run of the main window: asks for a file name and type (and
// whether to overwrite), resolves every ticked song afresh (several at a
// time, taken in list order) while the progress bar counts through them,
// writes the list as a whole in the kind the chosen type names, and tells
// how it went. The dialog opens in the folder of the last list written.
// Focus that was on btnCreate when the run began goes back to it at the end.
// The dialogs are modal; the run itself does not wait: started, it goes on
// from the event loop, the window stays usable, and btnCreate stays disabled
// until it ends. Esc during the run asks whether to stop it; stopped, it
// writes nothing, hides the bar and says so. A run that stops on a failure
// leaves the chosen file as it was and the progress bar as it stood, and says
// in the status line what went wrong.
class ListFileCommand final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListFileCommand)

public:
    struct Parts
    {
        QWidget *window = nullptr; // owner of the dialogs; may close during the run
        QWidget *btnCreate = nullptr;
        // The progress bar, shown for the run and counting through the songs.
        ProgressBar *process = nullptr;
        ListItemsModel *items = nullptr; // the rows' ticks; row k shows slot k
        Catalogue *catalogue = nullptr;
        SaveDialog *saveDialog = nullptr;
        MessageBox *messageBox = nullptr;
        std::function<void(const QString &)> setInfo; // the status line
        // Keeps the folder of the last list written, where the dialog opens
        // next (ListFolderSetting); may be null.
        SettingsStore *settings = nullptr;
        // Addresses asked for at a time (ListFileRun::Parallelism).
        ListFileRun::Parallelism parallelism;
    };

    // The parts must outlive the command (they are the window's).
    explicit ListFileCommand(Parts parts, QObject *parent = nullptr);
    ~ListFileCommand() override;

    // The click on btnCreate: asks for the target and starts the run.
    void run();
    // The window is closing: a run under way ends without a word, leaving
    // the file as it was, and no run starts any more.
    void abort();

    static QString progressText(int finished, int max);
    // The save dialog's filter: the list file's own types ("列表文件",
    // "文本文件", "所有文件"), then one type for each other kind of list.
    static QString dialogFilter();
    // The kind of list the dialog's type (counted from 0) writes.
    static ListFormat formatOfType(int type);

private:
    void stopOnEscape();
    void onFinished(ListFileRun::Outcome outcome);
    void enableButton();
    void endRun();

    Parts m_parts;
    ListFileRun *m_run = nullptr;
    QShortcut *m_escape = nullptr;
    QString m_path;
    bool m_hadFocus = false;
    QPointer<QWidget> m_focusMovedTo;
    bool m_stopped = false;
    bool m_closed = false;
};

} // namespace Lumisong
