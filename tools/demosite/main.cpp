// lumisong-demosite: serves the demo new-songs site and version page on 127.0.0.1.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumisong-demosite"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A loopback web site that plays the new-songs site for Lumisong: the song list page "
        "(GBK), address answers, small song files and the version page. It counts the "
        "connections it accepts (see /status); they are printed on exit as well."));
    parser.addHelpOption();
    const QCommandLineOption portOption(
        u"port"_s, QStringLiteral("Port on 127.0.0.1 (0: any free port; default %1).")
                        .arg(DemoSite::DefaultPort), u"port"_s, QString::number(DemoSite::DefaultPort));
    const QCommandLineOption songsOption(u"songs"_s, u"Number of songs on the page (default 150)."_s,
                                         u"count"_s, u"150"_s);
    const QCommandLineOption latencyOption(u"latency"_s, u"Milliseconds added before every answer."_s,
                                           u"ms"_s, u"0"_s);
    const QCommandLineOption connectDelayOption(
        u"connect-delay"_s,
        u"Milliseconds added once for each new connection, before its first answer."_s, u"ms"_s,
        u"0"_s);
    const QCommandLineOption connectionOption(
        u"connection"_s,
        u"What happens to a connection after an answer: keep-alive (default; it serves further "
        "requests), close (every answer says \"Connection: close\": one request per connection), "
        "close-silently (closed after every answer without saying so), close-on-second-request "
        "(a second request on a connection finds it closed)."_s,
        u"policy"_s, PolicyNames.first());
    const QCommandLineOption versionOption(
        u"version"_s, QStringLiteral("Version the version page announces (default %1).")
                           .arg(QStringLiteral(LUMISONG_VERSION_TEXT)),
        u"text"_s, QStringLiteral(LUMISONG_VERSION_TEXT));
    const QCommandLineOption catalogueOption(
        u"catalogue"_s,
        u"Serve the songs of <file>, a listing as `lumisong --list --json` prints it, instead of "
        "made-up ones (--songs is then ignored)."_s,
        u"file"_s);
    const QCommandLineOption sessionCookieOption(
        u"session-cookie"_s,
        u"The page sets a session cookie; address requests without it are answered 403."_s);
    parser.addOptions({portOption, songsOption, catalogueOption, latencyOption, connectDelayOption,
                       connectionOption, versionOption, sessionCookieOption});
    parser.process(app);

    QTextStream err(stderr);
    bool portOk = false, songsOk = false, latencyOk = false, delayOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    const int songs = parser.value(songsOption).toInt(&songsOk);
    const int latency = parser.value(latencyOption).toInt(&latencyOk);
    const int connectDelay = parser.value(connectDelayOption).toInt(&delayOk);
    if (!portOk || port > 65535 || !songsOk || songs < 0 || !latencyOk || latency < 0
        || !delayOk || connectDelay < 0) {
        err << "lumisong-demosite: --port, --songs, --latency and --connect-delay take "
               "non-negative numbers\n";
        return 1;
    }
    const qsizetype policy = PolicyNames.indexOf(parser.value(connectionOption));
    if (policy < 0) {
        err << "lumisong-demosite: --connection takes " << PolicyNames.join(u", ") << '\n';
        return 1;
    }

    DemoSite site(songs);
    if (parser.isSet(catalogueOption)) {
        QFile file(parser.value(catalogueOption));
        QString error;
        std::optional<Lumisong::DemoCatalogue> catalogue;
        if (file.open(QIODevice::ReadOnly))
            catalogue = Lumisong::DemoCatalogue::fromListing(file.readAll(), &error);
        else
            error = file.errorString();
        if (!catalogue) {
            err << "lumisong-demosite: --catalogue " << file.fileName() << ": " << error << '\n';
            return 1;
        }
        site.setCatalogue(std::move(*catalogue));
    }
    site.setLatency(latency);
    site.setConnectDelay(connectDelay);
    site.setConnectionPolicy(DemoSite::ConnectionPolicy(policy));
    site.setAnnouncedVersion(parser.value(versionOption));
    site.setSessionCookieRequired(parser.isSet(sessionCookieOption));
    if (!site.listen(quint16(port))) {
        err << "lumisong-demosite: cannot listen on 127.0.0.1:" << port << '\n';
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
