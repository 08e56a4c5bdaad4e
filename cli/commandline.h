#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "catalogue/listformat.h"

class QCommandLineParser;

namespace Lumisong {

// The program's command line. It is read before any application object
// exists, because the mode decides which one main() creates: the window needs
// a QApplication and a display, the headless modes only a QCoreApplication.
class CommandLine
{
public:
    enum class Mode {
        Window,  // the main window (default)
        List,    // print the catalogue's songs and exit
        Export,  // write a list file of chosen songs and exit
        SendTo,  // hand chosen songs to a download manager (aria2) and exit
        Download, // download the chosen songs' files into a folder and exit
        CheckUpdate, // run the version check, print its result and exit
        Help,    // print the usage and exit 0
        Version, // print the version and exit 0
        Error,   // print errorText() and the usage hint, exit with UsageExitCode
    };

    static constexpr int UsageExitCode = 1;

    CommandLine();
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;
    ~CommandLine();

    // args includes the program name first, as QCoreApplication::arguments() does.
    void parse(const QStringList &args);

    Mode mode() const { return m_mode; }
    bool needsDisplay() const { return m_mode == Mode::Window; }
    QString errorText() const { return m_error; }
    // "scheme://host[:port]", normalised, no trailing slash.
    QString siteBase() const { return m_siteBase; }
    QString updateUrl() const { return m_updateUrl; }
    bool json() const { return m_json; }
    // --export FILE, and --songs LIST (a null text for --all) with --export or --send-to.
    QString exportFile() const { return m_exportFile; }
    QString exportSongs() const { return m_exportSongs; }
    // --connections N with --export or --send-to, 1..MaxConnections; 0 when not given.
    int connections() const { return m_connections; }
    static constexpr int MaxConnections = 16;
    // --streams M with --export or --send-to, 1..MaxStreams; 0 when not given.
    int streams() const { return m_streams; }
    static constexpr int MaxStreams = 100;
    // --format with --export; ListFormat::Lst when not given.
    ListFormat exportFormat() const { return m_format; }
    // --archive FILE with --export or --send-to; empty when not given.
    QString archiveFile() const { return m_archiveFile; }
    // --send-to RPC-URL: aria2's JSON-RPC address, normalised.
    QString rpcUrl() const { return m_rpcUrl; }
    // --dir DIR with --send-to: the folder aria2 saves into; empty when not given.
    QString downloadDir() const { return m_downloadDir; }
    // --rpc-secret-file FILE with --send-to; empty when not given. The secret
    // itself is never taken from the command line, which other users can read.
    QString rpcSecretFile() const { return m_rpcSecretFile; }
    // --download DIR: the folder the songs' files go to.
    QString songFolder() const { return m_songFolder; }
    // --no-tags with --download: the files stay exactly as served.
    bool noTags() const { return m_noTags; }

    // The arguments less the options QApplication takes for itself
    // (-platform NAME, -style NAME, -reverse...), which the window accepts.
    static QStringList withoutToolkitOptions(const QStringList &args);

    QString helpText() const;
    static QString versionText();

    // Checks a site base address: http or https, a host, an optional port,
    // nothing else (a lone "/" is allowed and dropped). Returns the normalised
    // base, or an empty text with *error set.
    static QString normaliseSiteBase(const QString &url, QString *error);
    // Checks an absolute http(s) address with a host.
    static QString normaliseHttpUrl(const QString &url, QString *error);

private:
    void reset();
    QString parseSongRun();
    QString misplacedRunOption(bool exporting, bool sending, bool downloading) const;
    QString parseRunSettings();
    QString parseSendTarget();

    std::unique_ptr<QCommandLineParser> m_parser;
    Mode m_mode = Mode::Window;
    QString m_error;
    QString m_siteBase;
    QString m_updateUrl;
    bool m_json = false;
    QString m_exportFile;
    QString m_exportSongs;
    int m_connections = 0;
    int m_streams = 0;
    ListFormat m_format = ListFormat::Lst;
    QString m_archiveFile;
    QString m_rpcUrl;
    QString m_downloadDir;
    QString m_rpcSecretFile;
    QString m_songFolder;
    bool m_noTags = false;
};

} // namespace Lumisong
