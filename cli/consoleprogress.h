#pragma once

#include <QElapsedTimer>

#include <cstdio>

namespace Lumisong {

// Progress of a long run on a console stream. On a terminal one line redraws
// itself as a bar with the count; into a file or pipe a plain line is written
// now and then (at the start, at most every two seconds, and at the end).
class ConsoleProgress
{
public:
    explicit ConsoleProgress(std::FILE *stream);
    ConsoleProgress(std::FILE *stream, bool terminal); // for tests

    void start(int total);
    void update(int done);
    void finish(int done); // the run ended (done or stopped): final count, ends the bar's line

private:
    void draw(int done);

    std::FILE *m_stream;
    bool m_terminal;
    int m_total = 0;
    int m_lastDone = -1;
    QElapsedTimer m_sinceDraw;
};

} // namespace Lumisong
