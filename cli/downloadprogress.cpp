#include "cli/downloadprogress.h"

#include <QByteArray>

#include <unistd.h>

namespace Lumisong {

namespace {
constexpr qint64 DownloadRedrawMs = 200;
constexpr qint64 DownloadLineIntervalMs = 2000;

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

DownloadProgress::DownloadProgress(std::FILE *stream)
    : DownloadProgress(stream, isatty(fileno(stream)) == 1)
{
}

DownloadProgress::DownloadProgress(std::FILE *stream, bool terminal)
    : m_stream(stream), m_terminal(terminal)
{
}

QString DownloadProgress::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KiB").arg(double(bytes) / 1024, 0, 'f', 1);
    return QStringLiteral("%1 MiB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
}

void DownloadProgress::start(int total)
{
    m_total = total;
    m_clock.start();
    draw(0, 0);
}

void DownloadProgress::update(int done, qint64 bytes)
{
    const qint64 interval = m_terminal ? DownloadRedrawMs : DownloadLineIntervalMs;
    if (m_sinceDraw.isValid() && m_sinceDraw.elapsed() < interval)
        return;
    draw(done, bytes);
}

void DownloadProgress::finish(int done, qint64 bytes)
{
    draw(done, bytes);
    if (m_terminal)
        std::fputs("\n", m_stream);
    std::fflush(m_stream);
}

void DownloadProgress::draw(int done, qint64 bytes)
{
    m_sinceDraw.start();
    const qint64 ms = std::max<qint64>(m_clock.elapsed(), 1);
    QString line = QStringLiteral("songs %1/%2, %3, %4/s")
                       .arg(done)
                       .arg(m_total)
                       .arg(sizeText(bytes), sizeText(bytes * 1000 / ms));
    if (done > 0 && done < m_total)
        line += QStringLiteral(", %1 left").arg(clockText(ms * (m_total - done) / done / 1000));
    if (m_terminal)
        std::fprintf(m_stream, "\r%s\x1b[K", line.toUtf8().constData());
    else
        std::fprintf(m_stream, "%s\n", line.toUtf8().constData());
    std::fflush(m_stream);
}

} // namespace Lumisong
