#include "app/updateprompt.h"

#include "forms/formloader.h"
#include "app/frmmain.h"
#include "update/ui/frmupdate.h"

namespace Lumisong {

UpdatePrompt::UpdatePrompt(frmMain &main, SettingsStore *settings, ShellOpener &shellOpener,
                           const QString &versionUrl)
    : m_main(main), m_settings(settings), m_shellOpener(shellOpener), m_versionUrl(versionUrl)
{
}

void UpdatePrompt::showUpdate(const UpdateNotice &notice)
{
    // No owner form: the dialog is a window of its own, modal for the whole program.
    frmUpdate dialog({m_settings, &m_shellOpener, m_versionUrl}, &FormLoader::buildFile);
    QObject::connect(&dialog, &frmUpdate::catalogueWanted, &m_main, &frmMain::continueStartUp);
    QObject::connect(&dialog, &frmUpdate::programEndWanted, &m_main, &frmMain::endProgram);
    dialog.Form_Load(&m_main);
    dialog.announce(notice);
    dialog.exec();
}

} // namespace Lumisong
