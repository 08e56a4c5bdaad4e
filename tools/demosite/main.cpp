// lumisong-demosite: serves the demo new-songs site and version page on 127.0.0.1.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <optional>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "tools/demosite/demosite.h"

using Lumisong::DemoSite;
using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_UNIX
int signalPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the counters are printed on the way out.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onQuitSignal);
    std::signal(SIGTERM, onQuitSignal);
}
#else
void quitOnSignals(QCoreApplication &) {}
#endif

const QStringList PolicyNames = {u"keep-alive"_s, u"close"_s, u"close-silently"_s,
                                 u"close-on-second-request"_s};

// The site's options, in the order --help lists them.
struct Options
{
    QCommandLineOption port;
    QCommandLineOption songs;
    QCommandLineOption catalogue;
    QCommandLineOption latency;
    QCommandLineOption connectDelay;
    QCommandLineOption connection;
    QCommandLineOption version;
    QCommandLineOption sessionCookie;
    QCommandLineOption fileSize;
    QCommandLineOption cutAfter;
};

Options makeOptions()
{
    return {
        {u"port"_s,
         QStringLiteral("Port on 127.0.0.1 (0: any free port; default %1).").arg(DemoSite::DefaultPort),
         u"port"_s, QString::number(DemoSite::DefaultPort)},
        {u"songs"_s, u"Number of songs on the page (default 150)."_s, u"count"_s, u"150"_s},
        {u"catalogue"_s,
         u"Serve the songs of <file>, a listing as `lumisong --list --json` prints it, instead of "
         "made-up ones (--songs is then ignored)."_s,
         u"file"_s},
        {u"latency"_s, u"Milliseconds added before every answer."_s, u"ms"_s, u"0"_s},
        {u"connect-delay"_s,
         u"Milliseconds added once for each new connection, before its first answer."_s, u"ms"_s,
         u"0"_s},
        {u"connection"_s,
         u"What happens to a connection after an answer: keep-alive (default; it serves further "
         "requests), close (every answer says \"Connection: close\": one request per connection), "
         "close-silently (closed after every answer without saying so), close-on-second-request "
         "(a second request on a connection finds it closed)."_s,
         u"policy"_s, PolicyNames.first()},
        {u"version"_s,
         QStringLiteral("Version the version page announces (default %1).")
             .arg(QStringLiteral(LUMISONG_VERSION_TEXT)),
         u"text"_s, QStringLiteral(LUMISONG_VERSION_TEXT)},
        {u"session-cookie"_s,
         u"The page sets a session cookie; address requests without it are answered 403."_s},
        {u"file-size"_s, u"Bytes of every song file (silent MP3 data; default about three seconds)."_s,
         u"bytes"_s, u"0"_s},
        {u"cut-after"_s,
         u"Send only this many bytes of every song file's answer, ranges included, then close "
         "the connection (default: send it whole), to show resuming."_s,
         u"bytes"_s, u"-1"_s},
    };
}

// The numbers and the connection policy given, checked.
struct Settings
{
    uint port = 0;
    int songs = 0;
    int latency = 0;
    int connectDelay = 0;
    qsizetype policy = 0;
    qint64 fileSize = 0;
    qint64 cutAfter = -1;
};

std::optional<Settings> readSettings(const QCommandLineParser &parser, const Options &options,
                                     QTextStream &err)
{
    Settings s;
    bool portOk = false, songsOk = false, latencyOk = false, delayOk = false;
    s.port = parser.value(options.port).toUInt(&portOk);
    s.songs = parser.value(options.songs).toInt(&songsOk);
    s.latency = parser.value(options.latency).toInt(&latencyOk);
    s.connectDelay = parser.value(options.connectDelay).toInt(&delayOk);
    if (!portOk || s.port > 65535 || !songsOk || s.songs < 0 || !latencyOk || s.latency < 0
        || !delayOk || s.connectDelay < 0) {
        err << "lumisong-demosite: --port, --songs, --latency and --connect-delay take "
               "non-negative numbers\n";
        return std::nullopt;
    }
    bool sizeOk = false, cutOk = false;
    s.fileSize = parser.value(options.fileSize).toLongLong(&sizeOk);
    s.cutAfter = parser.value(options.cutAfter).toLongLong(&cutOk);
    if (!sizeOk || s.fileSize < 0 || !cutOk || s.cutAfter < -1) {
        err << "lumisong-demosite: --file-size and --cut-after take non-negative numbers\n";
        return std::nullopt;
    }
    s.policy = PolicyNames.indexOf(parser.value(options.connection));
    if (s.policy < 0) {
        err << "lumisong-demosite: --connection takes " << PolicyNames.join(u", ") << '\n';
        return std::nullopt;
    }
    return s;
}

// --catalogue: the site serves the songs of a listing file.
bool loadCatalogue(DemoSite &site, const QString &path, QTextStream &err)
{
    QFile file(path);
    QString error;
    std::optional<Lumisong::DemoCatalogue> catalogue;
    if (file.open(QIODevice::ReadOnly))
        catalogue = Lumisong::DemoCatalogue::fromListing(file.readAll(), &error);
    else
        error = file.errorString();
    if (!catalogue) {
        err << "lumisong-demosite: --catalogue " << file.fileName() << ": " << error << '\n';
        return false;
    }
    site.setCatalogue(std::move(*catalogue));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumisong-demosite"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A loopback web site that plays the new-songs site for Lumisong: the song list page "
        "(GBK), address answers, song files (silent MP3, with ranges) and the version page. It counts the "
        "connections it accepts (see /status); they are printed on exit as well."));
    parser.addHelpOption();
    const Options options = makeOptions();
    parser.addOptions({options.port, options.songs, options.catalogue, options.latency,
                       options.connectDelay, options.connection, options.version,
                       options.sessionCookie, options.fileSize, options.cutAfter});
    parser.process(app);

    QTextStream err(stderr);
    const std::optional<Settings> settings = readSettings(parser, options, err);
    if (!settings)
        return 1;
    DemoSite site(settings->songs);
    if (parser.isSet(options.catalogue) && !loadCatalogue(site, parser.value(options.catalogue), err))
        return 1;
    site.setLatency(settings->latency);
    site.setConnectDelay(settings->connectDelay);
    site.setConnectionPolicy(DemoSite::ConnectionPolicy(settings->policy));
    site.setAnnouncedVersion(parser.value(options.version));
    site.setSessionCookieRequired(parser.isSet(options.sessionCookie));
    site.setFileSize(settings->fileSize);
    site.setCutAfter(settings->cutAfter);
    if (!site.listen(quint16(settings->port))) {
        err << "lumisong-demosite: cannot listen on 127.0.0.1:" << settings->port << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << "Demo site: " << site.baseUrl() << "/  (" << site.catalogue().songs().size() << " songs)\n"
        << "Version page: " << site.versionUrl() << "  (announces " << site.announcedVersion()
        << ")\n"
        << "Run: lumisong --site " << site.baseUrl() << " --update-url " << site.versionUrl()
        << '\n';
    out.flush();
    quitOnSignals(app);
    const int status = app.exec();
    out << site.statusText();
    out.flush();
    return status;
}
