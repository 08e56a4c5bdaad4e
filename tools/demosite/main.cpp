// lumisong-demosite: serves the demo new-songs site and version page on 127.0.0.1.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "tools/demosite/demosite.h"

using Lumisong::DemoSite;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumisong-demosite"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A loopback web site that plays the new-songs site for Lumisong: the song list page "
        "(GBK), address answers, small song files and the version page."));
    parser.addHelpOption();
    const QCommandLineOption portOption(
        u"port"_s, QStringLiteral("Port on 127.0.0.1 (0: any free port; default %1).")
                        .arg(DemoSite::DefaultPort), u"port"_s, QString::number(DemoSite::DefaultPort));
    const QCommandLineOption songsOption(u"songs"_s, u"Number of songs on the page (default 150)."_s,
                                         u"count"_s, u"150"_s);
    const QCommandLineOption latencyOption(u"latency"_s, u"Milliseconds added before every answer."_s,
                                           u"ms"_s, u"0"_s);
    const QCommandLineOption versionOption(
        u"version"_s, QStringLiteral("Version the version page announces (default %1).")
                           .arg(QStringLiteral(LUMISONG_VERSION_TEXT)),
        u"text"_s, QStringLiteral(LUMISONG_VERSION_TEXT));
    parser.addOptions({portOption, songsOption, latencyOption, versionOption});
    parser.process(app);

    QTextStream err(stderr);
    bool portOk = false, songsOk = false, latencyOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    const int songs = parser.value(songsOption).toInt(&songsOk);
    const int latency = parser.value(latencyOption).toInt(&latencyOk);
    if (!portOk || port > 65535 || !songsOk || songs < 0 || !latencyOk || latency < 0) {
        err << "lumisong-demosite: --port, --songs and --latency take non-negative numbers\n";
        return 1;
    }

    DemoSite site(songs);
    site.setLatency(latency);
    site.setAnnouncedVersion(parser.value(versionOption));
    if (!site.listen(quint16(port))) {
        err << "lumisong-demosite: cannot listen on 127.0.0.1:" << port << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << "Demo site: " << site.baseUrl() << "/  (" << songs << " songs)\n"
        << "Version page: " << site.versionUrl() << "  (announces " << site.announcedVersion()
        << ")\n"
        << "Run: lumisong --site " << site.baseUrl() << " --update-url " << site.versionUrl()
        << '\n';
    out.flush();
    return app.exec();
}
