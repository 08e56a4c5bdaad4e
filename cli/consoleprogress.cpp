#include "cli/consoleprogress.h"

#include <QByteArray>
#include <QStringBuilder>

#include <unistd.h>

namespace Lumisong {

namespace {

constexpr int BarWidth = 30;
constexpr qint64 TerminalRedrawMs = 50;
constexpr qint64 LineIntervalMs = 2000;

} // namespace

ConsoleProgress::ConsoleProgress(std::FILE *stream)
    : ConsoleProgress(stream, isatty(fileno(stream)) == 1)
{
}

ConsoleProgress::ConsoleProgress(std::FILE *stream, bool terminal)
    : m_stream(stream)
    , m_terminal(terminal)
{
}

void ConsoleProgress::start(int total)
{
    m_total = total;
    m_lastDone = -1;
    draw(0);
}

void ConsoleProgress::update(int done)
{
    const qint64 interval = m_terminal ? TerminalRedrawMs : LineIntervalMs;
    if (m_sinceDraw.isValid() && m_sinceDraw.elapsed() < interval)
        return;
    draw(done);
}

void ConsoleProgress::finish(int done)
{
    draw(done);
    if (m_terminal)
        std::fputs("\n", m_stream);
    std::fflush(m_stream);
}

void ConsoleProgress::draw(int done)
{
    if (done == m_lastDone)
        return;
    m_lastDone = done;
    m_sinceDraw.start();
    if (m_terminal) {
        const int filled = m_total > 0 ? int(qint64(done) * BarWidth / m_total) : BarWidth;
        const QByteArray bar = QByteArray(filled, '#') + QByteArray(BarWidth - filled, '-');
        std::fprintf(m_stream, "\r[%s] %d/%d", bar.constData(), done, m_total);
    } else {
        std::fprintf(m_stream, "resolving download addresses: %d/%d\n", done, m_total);
    }
    std::fflush(m_stream);
}

} // namespace Lumisong
