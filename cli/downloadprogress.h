#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace Lumisong {

// Progress of a download run on a console stream: songs done of all, bytes
// received, speed and the time left. On a terminal one line redraws itself;
// into a file or pipe a line is written now and then (at the start, at most
// every two seconds, and at the end).
class DownloadProgress
{
public:
    explicit DownloadProgress(std::FILE *stream);
    DownloadProgress(std::FILE *stream, bool terminal); // for tests

    void start(int total);
    void update(int done, qint64 bytes);
    void finish(int done, qint64 bytes);

    // "1.5 MiB", "980 B"...
    static QString sizeText(qint64 bytes);

private:
    void draw(int done, qint64 bytes);

    std::FILE *m_stream;
    bool m_terminal;
    int m_total = 0;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceDraw;
};

} // namespace Lumisong
