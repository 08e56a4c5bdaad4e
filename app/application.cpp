#include "app/application.h"

#include <QApplication>
#include <QScreen>

#include "cli/commandline.h"
#include "common/defaults.h"
#include "common/programidentity.h"
#include "app/frmmain.h"
#include "catalogue/catalogue.h"
#include "net/fetchlimits.h"
#include "app/programicon.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/ui/qtmessagebox.h"
#include "platform/ui/qttranslations.h"
#include "platform/ui/windowplacement.h"

namespace Lumisong {

namespace {

int runWindow(int &argc, char *argv[], const CommandLine &commandLine)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(programIcon());
    // Ties the window to the installed desktop entry (its icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("lumisong"));
    // Qt's own buttons and dialogs speak the interface's language; without the
    // translations installed they stay English.
    QtTranslations::install();
    QtMessageBox messageBox;
    SettingsStore settings(Defaults::SettingsApplication.toString());
    SingleInstance instance(Defaults::InstanceLockName.toString());

    int status = 0;
    {
        Catalogue catalogue(commandLine.siteBase());
        frmMain::Environment environment{&messageBox, &settings, &instance, commandLine.siteBase(),
                                         commandLine.updateUrl()};
        environment.catalogue = &catalogue;
        frmMain form(environment);
        if (form.Form_Load()) {
            // Closing the window ends the run at once: the window has ended its
            // requests, and a modal dialog still open (the update dialog's
            // "是(&Y)") returns, as every running event loop is told to exit.
            QObject::connect(&form, &frmMain::unloaded, &app,
                             [] { QCoreApplication::exit(0); });
            // The window opens centred on its screen, its title strip on it
            // even when the window is larger than the screen.
            if (const QScreen *screen = form.screen())
                form.move(WindowPlacement::centred(screen->availableGeometry(), form.size()));
            form.show();
            status = app.exec();
        }
    }
    closeAllConnections();
    return status;
}

} // namespace

int runWindowProgram(int argc, char *argv[])
{
    nameTheProgram();
    CommandLine commandLine;
    commandLine.parse(CommandLine::withoutToolkitOptions(argumentsOf(argc, argv)));
    return runWindow(argc, argv, commandLine);
}

} // namespace Lumisong
