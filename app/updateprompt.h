#pragma once

#include <QString>

namespace Lumisong {

class frmMain;
class SettingsStore;
class ShellOpener;
struct UpdateNotice;

// The main window's side of the version check: the update dialog built from
// its form file, loaded over the main window and shown modally. "否(&N)" lets the main window go on to the catalogue, "是(&Y)"
// ends the program.
class UpdatePrompt final
{
public:
    // The pointers must outlive the prompt; settings may be null.
    UpdatePrompt(frmMain &main, SettingsStore *settings, ShellOpener &shellOpener,
                 const QString &versionUrl);

    // Loads the dialog, fills it from `notice` and shows it modally; returns
    // once it has closed.
    void showUpdate(const UpdateNotice &notice);

private:
    frmMain &m_main;
    SettingsStore *m_settings;
    ShellOpener &m_shellOpener;
    QString m_versionUrl;
};

} // namespace Lumisong
