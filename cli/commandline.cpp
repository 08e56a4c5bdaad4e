#include "cli/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <tuple>
#include <utility>

#include "common/defaults.h"
#include "net/shownaddress.h"

namespace Lumisong {

namespace {

const QString SiteOption = QStringLiteral("site");
const QString UpdateUrlOption = QStringLiteral("update-url");
const QString ListOption = QStringLiteral("list");
const QString JsonOption = QStringLiteral("json");
const QString ExportOption = QStringLiteral("export");
const QString AllOption = QStringLiteral("all");
const QString SongsOption = QStringLiteral("songs");
const QString CheckUpdateOption = QStringLiteral("check-update");
const QString ConnectionsOption = QStringLiteral("connections");
const QString StreamsOption = QStringLiteral("streams");
const QString FormatOption = QStringLiteral("format");
const QString ArchiveOption = QStringLiteral("archive");
const QString SendToOption = QStringLiteral("send-to");
const QString DirOption = QStringLiteral("dir");
const QString RpcSecretFileOption = QStringLiteral("rpc-secret-file");
const QString DownloadOption = QStringLiteral("download");
const QString NoTagsOption = QStringLiteral("no-tags");

// Whether an argument gives a secret on the command line ("--rpc-secret",
// "--rpc-secret=..."), which every user of the machine can read.
bool givesSecret(const QString &arg)
{
    return arg == u"--rpc-secret" || arg.startsWith(u"--rpc-secret=") || arg == u"-rpc-secret"
           || arg.startsWith(u"-rpc-secret=");
}

bool isHttpScheme(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

// Whether two names reach one file, also through links, also before it exists.
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    const QString canonicalFirst = first.canonicalFilePath();
    const QString canonicalSecond = second.canonicalFilePath();
    if (!canonicalFirst.isEmpty() && !canonicalSecond.isEmpty())
        return canonicalFirst == canonicalSecond;
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

CommandLine::CommandLine() : m_parser(std::make_unique<QCommandLineParser>())
{
    QCommandLineParser &p = *m_parser;
    p.setApplicationDescription(
        QStringLiteral("Lumisong lists the songs of a music site's new-songs page and writes "
                       "download lists of the songs you tick."));
    p.addHelpOption();
    p.addVersionOption();
    p.addOption({SiteOption,
                 QStringLiteral("Base address of the new-songs site: http(s)://host[:port], no "
                                "path. The catalogue is its page \"/\". Default: %1.")
                     .arg(Defaults::SiteBase),
                 QStringLiteral("url")});
    p.addOption({UpdateUrlOption,
                 QStringLiteral("Address of the page that announces the newest version. "
                                "Default: %1.")
                     .arg(Defaults::UpdateUrl),
                 QStringLiteral("url")});
    p.addOption({ListOption,
                 QStringLiteral("Print the songs of the catalogue, one TAB-separated line per "
                                "song, and exit; needs no display.")});
    p.addOption({JsonOption, QStringLiteral("With --list: print one JSON object instead.")});
    p.addOption({ExportOption,
                 QStringLiteral("Write the download list of the chosen songs (--all or --songs) "
                                "to <file>, as the window's \"生成列表\" does, and exit; needs "
                                "no display. On failure <file> is left as it was (exit status 2)."),
                 QStringLiteral("file")});
    p.addOption({CheckUpdateOption,
                 QStringLiteral("Check the version page (--update-url) as the window does at "
                                "start, without showing the update dialog, print one JSON object "
                                "and exit; needs no display. Exit status 2 when the page did not "
                                "arrive.")});
    p.addOption({SendToOption,
                 QStringLiteral("Hand the chosen songs (--all or --songs) to aria2 at its JSON-RPC "
                                "address <url> (http(s)://host:port/jsonrpc), each under its "
                                "safe file name, and exit; needs no display. Prints the download "
                                "id and file name of each song aria2 took. The secret comes from "
                                "LUMISONG_RPC_SECRET or --rpc-secret-file."),
                 QStringLiteral("url")});
    p.addOption({DownloadOption,
                 QStringLiteral("Download the files of the chosen songs (--all or --songs) into "
                                "<dir>, each under its safe name \"SINGER - TITLE.EXT\", tagged "
                                "with the catalogue's fields, and exit; needs no display. A song "
                                "is written as NAME.part and continued where it stopped on the "
                                "next run. Prints the row and path of each song in the folder."),
                 QStringLiteral("dir")});
    p.addOption({NoTagsOption,
                 QStringLiteral("With --download: leave the files exactly as the site serves them.")});
    p.addOption({AllOption, QStringLiteral("With --export, --send-to or --download: every song of the catalogue.")});
    p.addOption({SongsOption,
                 QStringLiteral("With --export, --send-to or --download: the rows to take, counted from 1, "
                                "e.g. 1,3,5-9."),
                 QStringLiteral("list")});
    p.addOption({ConnectionsOption,
                 QStringLiteral("With --export, --send-to or --download: ask for up to <n> "
                                "download addresses (or song files) at a time, over at most <n> connections to the site (1 to %1; "
                                "default 4).")
                     .arg(MaxConnections),
                 QStringLiteral("n")});
    p.addOption({StreamsOption,
                 QStringLiteral("With --export, --send-to or --download: where the site speaks "
                                "HTTP/2, ask for up to <m> download addresses or files at a time over one connection (1 to "
                                "%1; default 32).")
                     .arg(MaxStreams),
                 QStringLiteral("m")});
    p.addOption({DirOption,
                 QStringLiteral("With --send-to: the folder aria2 saves the songs in (on aria2's "
                                "machine); default: aria2's own."),
                 QStringLiteral("dir")});
    p.addOption({RpcSecretFileOption,
                 QStringLiteral("With --send-to: read aria2's secret token from the first line of "
                                "<file> instead of LUMISONG_RPC_SECRET."),
                 QStringLiteral("file")});
    p.addOption({FormatOption,
                 QStringLiteral("With --export: the kind of list. lst: the window's list file "
                                "(default); urls: one address per line, for wget -i and curl; "
                                "aria2: an input file for aria2c -i that names each song's file "
                                "\"SINGER - TITLE.EXT\"; m3u8: a playlist; json: the songs with "
                                "their addresses."),
                 QStringLiteral("format")});
    p.addOption({ArchiveOption,
                 QStringLiteral("With --export, --send-to or --download: leave out the songs whose ids <file> "
                                "lists, one per line, and add the ids written (or taken by aria2) "
                                "to it. A missing <file> is empty. With no new song nothing is "
                                "written or sent."),
                 QStringLiteral("file")});
}

CommandLine::~CommandLine() = default;

// What a command line without options means: the window on the default site.
void CommandLine::reset()
{
    m_siteBase = Defaults::SiteBase.toString();
    m_updateUrl = Defaults::UpdateUrl.toString();
    m_json = false;
    m_exportFile.clear();
    m_exportSongs = QString();
    m_connections = 0;
    m_streams = 0;
    m_format = ListFormat::Lst;
    m_archiveFile.clear();
    m_rpcUrl.clear();
    m_downloadDir.clear();
    m_rpcSecretFile.clear();
    m_songFolder.clear();
    m_noTags = false;
    m_error.clear();
    m_mode = Mode::Window;
}

void CommandLine::parse(const QStringList &args)
{
    QCommandLineParser &p = *m_parser;
    reset();

    const auto fail = [this](const QString &text) {
        m_mode = Mode::Error;
        m_error = text;
    };

    // Named before the parser sees it, so that no message repeats its value.
    if (std::any_of(args.begin() + std::min<qsizetype>(1, args.size()), args.end(), givesSecret))
        return fail(QStringLiteral("the secret is never taken from the command line; set "
                                   "LUMISONG_RPC_SECRET or give --rpc-secret-file"));
    if (!p.parse(args))
        return fail(p.errorText());
    if (!p.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unexpected argument: %1").arg(p.positionalArguments().first()));
    if (p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("help-all"))) {
        m_mode = Mode::Help;
        return;
    }
    if (p.isSet(QStringLiteral("version"))) {
        m_mode = Mode::Version;
        return;
    }
    if (p.isSet(SiteOption)) {
        QString error;
        m_siteBase = normaliseSiteBase(p.value(SiteOption), &error);
        if (m_siteBase.isEmpty())
            return fail(QStringLiteral("--site: ") + error);
    }
    if (p.isSet(UpdateUrlOption)) {
        QString error;
        m_updateUrl = normaliseHttpUrl(p.value(UpdateUrlOption), &error);
        if (m_updateUrl.isEmpty())
            return fail(QStringLiteral("--update-url: ") + error);
    }
    if (p.isSet(CheckUpdateOption)) {
        for (const QString &other : {ListOption, JsonOption, ExportOption, SendToOption, AllOption,
                                     SongsOption, ConnectionsOption, StreamsOption, FormatOption,
                                     ArchiveOption, DirOption, RpcSecretFileOption, DownloadOption,
                                     NoTagsOption}) {
            if (p.isSet(other))
                return fail(QStringLiteral("--check-update cannot be combined with --") + other);
        }
        m_mode = Mode::CheckUpdate;
        return;
    }
    if (p.isSet(JsonOption) && !p.isSet(ListOption))
        return fail(QStringLiteral("--json is an option of --list"));
    m_json = p.isSet(JsonOption);
    if (const QString error = parseSongRun(); !error.isEmpty())
        return fail(error);
    if (m_mode == Mode::Export || m_mode == Mode::SendTo || m_mode == Mode::Download)
        return;
    m_mode = p.isSet(ListOption) ? Mode::List : Mode::Window;
}

// The options of the runs over chosen songs (--export, --send-to). Sets the
// mode when one of them is given; returns the usage error, if any.
QString CommandLine::parseSongRun()
{
    const QCommandLineParser &p = *m_parser;
    const bool exporting = p.isSet(ExportOption);
    const bool sending = p.isSet(SendToOption);
    const bool downloading = p.isSet(DownloadOption);
    if (int(exporting) + int(sending) + int(downloading) > 1)
        return QStringLiteral("only one of --export, --send-to and --download can be given");
    if (const QString error = misplacedRunOption(exporting, sending, downloading); !error.isEmpty())
        return error;
    if (!exporting && !sending && !downloading)
        return {};
    if (const QString error = parseRunSettings(); !error.isEmpty())
        return error;
    const QString run = sending       ? QStringLiteral("--send-to")
                        : downloading ? QStringLiteral("--download")
                                      : QStringLiteral("--export");
    if (p.isSet(ListOption))
        return QStringLiteral("--list and %1 cannot be combined").arg(run);
    if (p.isSet(AllOption) == p.isSet(SongsOption))
        return run + QStringLiteral(" needs either --all or --songs");
    if (p.isSet(SongsOption))
        m_exportSongs = p.value(SongsOption); // checked against the list once it is loaded
    if (exporting) {
        m_exportFile = p.value(ExportOption);
        if (m_exportFile.isEmpty())
            return QStringLiteral("--export needs a file name");
    } else if (downloading) {
        m_songFolder = p.value(DownloadOption);
        m_noTags = p.isSet(NoTagsOption);
        if (m_songFolder.isEmpty())
            return QStringLiteral("--download needs a folder");
    } else if (const QString error = parseSendTarget(); !error.isEmpty()) {
        return error;
    }
    if (p.isSet(ArchiveOption)) {
        m_archiveFile = p.value(ArchiveOption);
        if (m_archiveFile.isEmpty())
            return QStringLiteral("--archive needs a file name");
        if (exporting && sameFile(m_archiveFile, m_exportFile))
            return QStringLiteral("--archive and --export name the same file");
    }
    m_mode = exporting ? Mode::Export : downloading ? Mode::Download : Mode::SendTo;
    return {};
}

// An option of a run given without that run.
QString CommandLine::misplacedRunOption(bool exporting, bool sending, bool downloading) const
{
    const QCommandLineParser &p = *m_parser;
    const auto onlyWith = [&](const QString &option, bool allowed, const QString &of) {
        return p.isSet(option) && !allowed ? QStringLiteral("--%1 is an option of %2").arg(option, of)
                                           : QString();
    };
    const QString anyRun = QStringLiteral("--export, --send-to and --download");
    const bool running = exporting || sending || downloading;
    for (const auto &[option, allowed, of] :
         {std::tuple{ConnectionsOption, running, anyRun},
          std::tuple{StreamsOption, running, anyRun},
          std::tuple{ArchiveOption, running, anyRun},
          std::tuple{NoTagsOption, downloading, QStringLiteral("--download")},
          std::tuple{FormatOption, exporting, QStringLiteral("--export")},
          std::tuple{DirOption, sending, QStringLiteral("--send-to")},
          std::tuple{RpcSecretFileOption, sending, QStringLiteral("--send-to")}}) {
        if (const QString error = onlyWith(option, allowed, of); !error.isEmpty())
            return error;
    }
    if ((p.isSet(AllOption) || p.isSet(SongsOption)) && !running)
        return QStringLiteral("--all and --songs are options of ") + anyRun;
    return {};
}

// --connections, --streams and --format.
QString CommandLine::parseRunSettings()
{
    const QCommandLineParser &p = *m_parser;
    for (auto [option, max, value] : {std::tuple{ConnectionsOption, MaxConnections, &m_connections},
                                      std::tuple{StreamsOption, MaxStreams, &m_streams}}) {
        if (!p.isSet(option))
            continue;
        bool ok = false;
        *value = p.value(option).toInt(&ok);
        if (!ok || *value < 1 || *value > max)
            return QStringLiteral("--%1 takes a number from 1 to %2").arg(option).arg(max);
    }
    if (p.isSet(FormatOption)) {
        const std::optional<ListFormat> format = ListFormats::fromName(p.value(FormatOption));
        if (!format)
            return QStringLiteral("--format takes one of: ") + ListFormats::names().join(u", ");
        m_format = *format;
    }
    return {};
}

// --send-to's address, --dir and --rpc-secret-file.
QString CommandLine::parseSendTarget()
{
    const QCommandLineParser &p = *m_parser;
    QString error;
    m_rpcUrl = normaliseHttpUrl(p.value(SendToOption), &error);
    if (m_rpcUrl.isEmpty())
        return QStringLiteral("--send-to: ") + error;
    // Credentials in the address would be on the command line and in messages.
    if (!QUrl(m_rpcUrl).userInfo().isEmpty()) {
        m_rpcUrl.clear();
        return QStringLiteral("--send-to: give no user or password in the address; the secret "
                              "comes from LUMISONG_RPC_SECRET or --rpc-secret-file");
    }
    for (auto [option, value] : {std::pair{DirOption, &m_downloadDir},
                                 std::pair{RpcSecretFileOption, &m_rpcSecretFile}}) {
        *value = p.value(option);
        if (p.isSet(option) && value->isEmpty())
            return QStringLiteral("--%1 needs a value").arg(option);
    }
    return {};
}

QStringList CommandLine::withoutToolkitOptions(const QStringList &args)
{
    static const QStringList withValue = {
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
        QStringLiteral("qwindowtitle"), QStringLiteral("title"),
        QStringLiteral("qwindowicon"), QStringLiteral("icon"),
        QStringLiteral("display"), QStringLiteral("name"),
        QStringLiteral("style"), QStringLiteral("stylesheet"),
        QStringLiteral("session")};
    static const QStringList flags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"), QStringLiteral("dograb"),
                                      QStringLiteral("sync")};
    QStringList kept;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (i == 0 || !arg.startsWith(u'-') || arg == u"--") {
            kept.append(arg);
            continue;
        }
        QStringView name = QStringView(arg).mid(arg.startsWith(u"--") ? 2 : 1);
        const qsizetype eq = name.indexOf(u'=');
        const bool inlineValue = eq >= 0;
        if (inlineValue)
            name = name.left(eq);
        if (flags.contains(name) && !inlineValue)
            continue;
        if (withValue.contains(name)) {
            if (!inlineValue)
                ++i; // its value follows
            continue;
        }
        kept.append(arg);
    }
    return kept;
}

QString CommandLine::helpText() const
{
    return m_parser->helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("Lumisong " LUMISONG_VERSION_TEXT);
}

QString CommandLine::normaliseHttpUrl(const QString &text, QString *error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        *error = QStringLiteral("not an absolute address: %1").arg(shownAddress(text));
        return {};
    }
    if (!isHttpScheme(url)) {
        *error = QStringLiteral("only http and https addresses are supported: %1").arg(shownAddress(text));
        return {};
    }
    if (url.host().isEmpty()) {
        *error = QStringLiteral("the address names no host: %1").arg(shownAddress(text));
        return {};
    }
    return url.toString(QUrl::FullyEncoded);
}

QString CommandLine::normaliseSiteBase(const QString &text, QString *error)
{
    if (normaliseHttpUrl(text, error).isEmpty())
        return {};
    const QUrl url(text, QUrl::StrictMode);
    if (!url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != u"/")
        || url.hasQuery() || url.hasFragment()) {
        *error = QStringLiteral("give only scheme, host and port (like http://host:8080), "
                                "without path, query or user: %1")
                     .arg(shownAddress(text));
        return {};
    }
    QUrl base;
    base.setScheme(url.scheme());
    base.setHost(url.host());
    base.setPort(url.port());
    return base.toString(QUrl::FullyEncoded);
}

} // namespace Lumisong
