#include "cli/headlessrunner.h"

#include <cstdio>

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include "cli/commandline.h"
#include "common/defaults.h"
#include "cli/downloadersend.h"
#include "cli/headlessdownload.h"
#include "cli/headlessexport.h"
#include "cli/headlessupdatecheck.h"
#include "cli/songlisting.h"
#include "common/statustexts.h"
#include "catalogue/catalogue.h"
#include "platform/settingsstore.h"

namespace Lumisong {

namespace {

bool writeAll(std::FILE *stream, const QByteArray &bytes)
{
    const size_t n = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    return n == size_t(bytes.size()) && std::fflush(stream) == 0;
}

void writeLine(std::FILE *stream, const QString &text)
{
    writeAll(stream, (text + u'\n').toUtf8());
}

} // namespace

int HeadlessRunner::run()
{
    // Standard error carries the program's own messages only; QT_LOGGING_RULES
    // (say "lumisong.*.info=true") still brings the libraries' reasons back.
    QLoggingCategory::setFilterRules(QStringLiteral("lumisong.*.debug=false\nlumisong.*.info=false"));

    switch (m_commandLine.mode()) {
    case CommandLine::Mode::List:
        return list();
    case CommandLine::Mode::Export: {
        HeadlessExport exporter(m_commandLine.siteBase(), m_commandLine.exportFile(),
                                m_commandLine.exportSongs(), stdout, stderr);
        exporter.setConnections(m_commandLine.connections());
        exporter.setStreams(m_commandLine.streams());
        exporter.setFormat(m_commandLine.exportFormat());
        exporter.setArchive(m_commandLine.archiveFile());
        return exporter.run();
    }
    case CommandLine::Mode::SendTo: {
        DownloaderSend sender({m_commandLine.siteBase(), m_commandLine.exportSongs(),
                               m_commandLine.archiveFile(), m_commandLine.connections(),
                               m_commandLine.streams()},
                              m_commandLine.rpcUrl(), stdout, stderr);
        sender.setDir(m_commandLine.downloadDir());
        sender.setSecret(m_commandLine.rpcSecretFile(),
                         qEnvironmentVariable("LUMISONG_RPC_SECRET"));
        return sender.run();
    }
    case CommandLine::Mode::Download: {
        HeadlessDownload downloader({m_commandLine.siteBase(), m_commandLine.exportSongs(),
                                     m_commandLine.archiveFile(), m_commandLine.connections(),
                                     m_commandLine.streams()},
                                    m_commandLine.songFolder(), stdout, stderr);
        downloader.setTags(!m_commandLine.noTags());
        return downloader.run();
    }
    case CommandLine::Mode::CheckUpdate:
        return checkUpdate();
    case CommandLine::Mode::Help:
        writeAll(stdout, m_commandLine.helpText().toUtf8());
        return 0;
    case CommandLine::Mode::Version:
        writeLine(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Mode::Error:
        writeLine(stderr, QStringLiteral("lumisong: ") + m_commandLine.errorText());
        writeLine(stderr, QStringLiteral("Try 'lumisong --help' for the options."));
        return CommandLine::UsageExitCode;
    case CommandLine::Mode::Window:
        break;
    }
    writeLine(stderr, QStringLiteral("lumisong: the window needs a display"));
    return CommandLine::UsageExitCode;
}

int HeadlessRunner::checkUpdate()
{
    const SettingsStore settings(Defaults::SettingsApplication.toString());
    const HeadlessUpdateCheck::Outcome outcome =
        HeadlessUpdateCheck::run(m_commandLine.updateUrl(), &settings);
    if (!writeAll(stdout, outcome.json)) {
        writeLine(stderr, QStringLiteral("lumisong: cannot write to standard output"));
        return OutputFailedExitCode;
    }
    return outcome.exitCode;
}

int HeadlessRunner::list()
{
    Catalogue catalogue(m_commandLine.siteBase());
    const Catalogue::LoadResult result = catalogue.loadCatalogue();
    // A page without a whole song array is no catalogue, not an empty one.
    if (!result.arrived || !result.hasSongArray) {
        writeLine(stderr, StatusText::catalogueMissing());
        return PageMissingExitCode;
    }
    const QByteArray out = m_commandLine.json() ? SongListing::asJson(catalogue)
                                                : SongListing::asText(catalogue);
    if (!writeAll(stdout, out)) {
        writeLine(stderr, QStringLiteral("lumisong: cannot write to standard output"));
        return OutputFailedExitCode;
    }
    // The listing itself stays as for any page; the note goes beside it.
    if (result.truncated)
        writeLine(stderr, StatusText::catalogueLoaded(result.count, true));
    return 0;
}

} // namespace Lumisong
