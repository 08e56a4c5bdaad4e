#include "app/application.h"

#include <QApplication>
#include <QScreen>

#include "cli/commandline.h"
#include "common/defaults.h"
#include "app/frmmain.h"
#include "catalogue/catalogue.h"
#include "cli/headlessrunner.h"
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

int runLumisong(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(Defaults::SettingsApplication.toString());
    QCoreApplication::setApplicationName(Defaults::ProgramTitle.toString());
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMISONG_VERSION_TEXT));

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    CommandLine commandLine;
    commandLine.parse(CommandLine::withoutToolkitOptions(args));

    if (commandLine.needsDisplay())
        return runWindow(argc, argv, commandLine);
    QCoreApplication app(argc, argv);
    const int status = HeadlessRunner(commandLine).run();
    closeAllConnections();
    return status;
}

} // namespace Lumisong
