#include "tests/support/nginxrunner.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include "tests/support/ports.h"

namespace Lumisong::Test {

NginxRunner::Options NginxRunner::tlsFront(quint16 upstreamPort, const TestCa &ca, TestCa::Leaf leaf)
{
    Options options;
    options.upstreamPort = upstreamPort;
    options.certificateFile = ca.certificateFile(leaf);
    options.keyFile = ca.keyFile();
    return options;
}

QByteArray NginxRunner::config(const Options &options) const
{
    const QByteArray prefix = QDir(m_dir.path()).absolutePath().toUtf8();
    const QByteArray port = QByteArray::number(m_port);
    const QByteArray upstream = "127.0.0.1:" + QByteArray::number(options.upstreamPort);
    QByteArray c;
    c += "daemon off;\nworker_processes 1;\n";
    c += "pid " + prefix + "/nginx.pid;\nerror_log " + prefix + "/error.log warn;\n";
    c += "events { worker_connections 512; }\nhttp {\n";
    c += "    log_format lumisong '$server_protocol $connection $sent_http_content_encoding "
         "$request_uri $status $body_bytes_sent \"$http_range\"';\n";
    c += "    access_log " + prefix + "/access.log lumisong;\n";
    for (const char *kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        c += QByteArray("    ") + kind + "_temp_path " + prefix + "/tmp/" + kind + ";\n";
    c += "    types { text/html html; text/plain txt; }\n";
    // text/html is always compressed; the address answers are text/plain.
    // Requests that come through a proxy carry Via and are compressed too.
    c += "    gzip on;\n    gzip_types text/plain;\n    gzip_min_length 1;\n"
         "    gzip_proxied any;\n";
    c += "    keepalive_requests " + QByteArray::number(options.keepaliveRequests) + ";\n";
    if (options.redirectTo.isEmpty())
        c += "    upstream demo {\n        server " + upstream + ";\n        keepalive 16;\n    }\n";
    c += "    server {\n";
    for (const QString &host : options.listenHosts)
        c += "        listen " + host.toUtf8() + ':' + port + (options.tls ? " ssl http2;\n" : ";\n");
    if (options.tls) {
        c += "        ssl_certificate " + options.certificateFile.toUtf8() + ";\n";
        c += "        ssl_certificate_key " + options.keyFile.toUtf8() + ";\n";
    }
    if (!options.filesRoot.isEmpty()) {
        c += "        location /files/ {\n            root " + options.filesRoot.toUtf8()
             + ";\n            gzip off;\n            types { audio/mpeg mp3; }\n";
        if (options.limitRate > 0)
            c += "            limit_rate " + QByteArray::number(options.limitRate) + ";\n";
        c += "        }\n";
    }
    c += "        location / {\n";
    if (!options.redirectTo.isEmpty()) {
        c += "            return 302 " + options.redirectTo.toUtf8() + ";\n";
    } else {
        c += "            proxy_pass http://demo;\n            proxy_http_version 1.1;\n"
             "            proxy_set_header Connection \"\";\n"
             "            proxy_set_header Accept-Encoding \"\";\n"
             // Run as root, the workers are nobody and cannot enter the
             // temporary folder: large answers stay in memory.
             "            proxy_max_temp_file_size 0;\n";
        // The site's own base in its pages becomes the one the client asked by.
        c += "            sub_filter 'http://" + upstream + "' '$scheme://$host:$server_port';\n"
             "            sub_filter_once off;\n            sub_filter_types text/plain;\n";
    }
    c += "        }\n    }\n}\n";
    return c;
}

bool NginxRunner::start(const Options &options, QString *error)
{
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("tmp"))) {
        *error = QStringLiteral("no temporary folder for nginx");
        return false;
    }
    m_port = Ports::freePort();
    m_tls = options.tls;
    QFile file(m_dir.filePath(QStringLiteral("nginx.conf")));
    const QByteArray text = config(options);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        *error = QStringLiteral("cannot write %1").arg(file.fileName());
        return false;
    }
    file.close();
    QString host = options.listenHosts.value(0);
    host.remove(u'[').remove(u']');
    // -e: the error log before the configuration is read, instead of the system's.
    return m_process.start(QStringLiteral("nginx"),
                           {QStringLiteral("-p"), m_dir.path(), QStringLiteral("-c"), file.fileName(),
                            QStringLiteral("-e"), m_dir.filePath(QStringLiteral("error.log"))},
                           host, m_port, error);
}

void NginxRunner::stop()
{
    m_process.stop();
}

QString NginxRunner::baseUrl(const QString &host) const
{
    return QStringLiteral("%1://%2:%3").arg(m_tls ? u"https" : u"http", host).arg(m_port);
}

QList<NginxRunner::Request> NginxRunner::requests() const
{
    QFile file(m_dir.filePath(QStringLiteral("access.log")));
    QList<Request> requests;
    if (!file.open(QIODevice::ReadOnly))
        return requests;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
        if (fields.size() < 7)
            continue;
        // The Range header may hold blanks; it is the quoted rest of the line.
        const QByteArray range = fields.mid(6).join(' ');
        requests.append({QString::fromLatin1(fields[0]), QString::fromLatin1(fields[1]),
                         QString::fromLatin1(fields[2]), QString::fromLatin1(fields[3]),
                         QString::fromLatin1(range.mid(1, range.size() - 2)),
                         fields[5].toLongLong(), fields[4].toInt()});
    }
    return requests;
}

int NginxRunner::connectionsUsed() const
{
    QSet<QString> connections;
    for (const Request &request : requests())
        connections.insert(request.connection);
    return int(connections.size());
}

} // namespace Lumisong::Test
