#pragma once

#include <QString>

#include "update/updatepresenter.h"

namespace Lumisong {

class frmMain;
class SettingsStore;
class ShellOpener;

// The main window's side of the version check: the status line, and the
// update dialog built from its form file, loaded over the main window and
// shown modally. "否(&N)" lets the main window go on to the catalogue, "是(&Y)"
// ends the program.
class UpdatePrompt final : public UpdatePresenter
{
public:
    // The pointers must outlive the prompt; settings may be null.
    UpdatePrompt(frmMain &main, SettingsStore *settings, ShellOpener &shellOpener,
                 const QString &versionUrl);

    void setStatus(const QString &text) override;
    void showUpdate(const UpdateNotice &notice) override;

private:
    frmMain &m_main;
    SettingsStore *m_settings;
    ShellOpener &m_shellOpener;
    QString m_versionUrl;
};

} // namespace Lumisong
