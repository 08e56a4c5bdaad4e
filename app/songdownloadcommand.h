#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include "catalogue/listfilerun.h"

class QWidget;

namespace Lumisong {

class Catalogue;
class ListItemsModel;
class MessageBox;
class ProgressBar;
class SaveDialog;
class SettingsStore;
class SongDownloadRun;

// The "下载歌曲" run of the main window: asks for a folder (starting in the
// last download folder, else the music folder, else home), resolves the
// ticked songs, then downloads their files there (SongDownloadRun) while the
// progress bar shows "正在下载第 k/N 首：TITLE" and the bytes of the songs
// under way. It does not wait: the window stays usable, and the button stays
// disabled until the run ends. Stopping keeps the .part files for the next run.
class SongDownloadCommand final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SongDownloadCommand)

public:
    struct Parts
    {
        QWidget *window = nullptr;
        QWidget *button = nullptr;
        ProgressBar *process = nullptr;
        ListItemsModel *items = nullptr;
        Catalogue *catalogue = nullptr;
        SaveDialog *dialog = nullptr;
        MessageBox *messageBox = nullptr;
        std::function<void(const QString &)> setInfo;
        SettingsStore *settings = nullptr; // may be null
        ListFileRun::Parallelism parallelism;
    };

    explicit SongDownloadCommand(Parts parts, QObject *parent = nullptr);
    ~SongDownloadCommand() override;

    // Asks for the folder and starts; nothing happens when one runs already.
    void start();
    bool isRunning() const { return m_running; }
    // Asks the user whether to stop the run under way; stops it on "是".
    // True when nothing runs any more.
    bool askToStop();
    // The window is closing: a run under way ends without a word (the
    // .part files stay).
    void abort();

    static QString progressText(int k, int total, const QString &title);
    static QString doneText(int songs);
    static QString failedText(int failures, const QString &firstReason);

signals:
    void finished();

private:
    void onResolved(ListFileRun::Outcome outcome);
    void showProgress();
    void onDownloaded();
    void end(const QString &info);

    Parts m_parts;
    QPointer<QWidget> m_button;
    QPointer<ProgressBar> m_process;
    QString m_folder;
    std::unique_ptr<ListFileRun> m_resolving;
    std::unique_ptr<SongDownloadRun> m_run;
    bool m_running = false;
    bool m_stopped = false;
};

} // namespace Lumisong
