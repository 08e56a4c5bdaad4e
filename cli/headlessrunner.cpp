#include "cli/headlessrunner.h"

#include <cstdio>

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QString>

#include "cli/commandline.h"
#include "cli/downloadersend.h"
#include "cli/headlessdownload.h"
#include "cli/headlessexport.h"
#include "cli/headlesslist.h"
#include "cli/headlessupdatecheck.h"
#include "common/defaults.h"
#include "platform/settingsstore.h"
#include "update/remindersetting.h"

namespace Lumisong {

namespace {

void writeLine(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int HeadlessRunner::run()
{
    // Standard error carries the program's own messages only; QT_LOGGING_RULES
    // (say "lumisong.*.info=true") still brings the libraries' reasons back.
    QLoggingCategory::setFilterRules(QStringLiteral("lumisong.*.debug=false\nlumisong.*.info=false"));

    const std::unique_ptr<HeadlessCommand> running = command();
    if (!running)
        return answerAtOnce();
    // The one event loop of the run: the command goes on from its requests'
    // signals and its end ends the loop with its exit status.
    QObject::connect(running.get(), &HeadlessCommand::finished, running.get(),
                     [](int status) { QCoreApplication::exit(status); });
    QMetaObject::invokeMethod(running.get(), &HeadlessCommand::start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

std::unique_ptr<HeadlessCommand> HeadlessRunner::command() const
{
    const CommandLine &line = m_commandLine;
    const ChosenSongs::Options songs{line.siteBase(), line.exportSongs(), line.archiveFile(),
                                     line.connections(), line.streams()};
    switch (line.mode()) {
    case CommandLine::Mode::List:
        return std::make_unique<HeadlessList>(line.siteBase(), line.json(), stdout, stderr);
    case CommandLine::Mode::Export: {
        auto exporter = std::make_unique<HeadlessExport>(line.siteBase(), line.exportFile(),
                                                         line.exportSongs(), stdout, stderr);
        exporter->setConnections(line.connections());
        exporter->setStreams(line.streams());
        exporter->setFormat(line.exportFormat());
        exporter->setArchive(line.archiveFile());
        return exporter;
    }
    case CommandLine::Mode::SendTo: {
        auto sender = std::make_unique<DownloaderSend>(songs, line.rpcUrl(), stdout, stderr);
        sender->setDir(line.downloadDir());
        sender->setSecret(line.rpcSecretFile(), qEnvironmentVariable("LUMISONG_RPC_SECRET"));
        return sender;
    }
    case CommandLine::Mode::Download: {
        auto downloader = std::make_unique<HeadlessDownload>(songs, line.songFolder(), stdout, stderr);
        downloader->setTags(!line.noTags());
        return downloader;
    }
    case CommandLine::Mode::CheckUpdate: {
        // The reminder setting is read as at start; the check writes none.
        const SettingsStore settings(Defaults::SettingsApplication.toString());
        return std::make_unique<HeadlessUpdateCheck>(line.updateUrl(), ReminderSetting::read(settings),
                                                     stdout, stderr);
    }
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
    case CommandLine::Mode::Error:
    case CommandLine::Mode::Window:
        break;
    }
    return nullptr;
}

int HeadlessRunner::answerAtOnce() const
{
    switch (m_commandLine.mode()) {
    case CommandLine::Mode::Help: {
        const QByteArray help = m_commandLine.helpText().toUtf8();
        std::fwrite(help.constData(), 1, size_t(help.size()), stdout);
        std::fflush(stdout);
        return 0;
    }
    case CommandLine::Mode::Version:
        writeLine(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Mode::Error:
        writeLine(stderr, QStringLiteral("lumisong: ") + m_commandLine.errorText());
        writeLine(stderr, QStringLiteral("Try 'lumisong --help' for the options."));
        return CommandLine::UsageExitCode;
    default:
        break;
    }
    writeLine(stderr, QStringLiteral("lumisong: the window needs a display"));
    return CommandLine::UsageExitCode;
}

} // namespace Lumisong
