#pragma once

#include <QString>

#include <cstdio>

#include "app/rowselection.h"

namespace Lumisong {

// "lumisong --site URL --export FILE --all|--songs LIST [--connections N]":
// loads the catalogue as the window does, resolves the chosen songs (several
// at a time, taken in list order) and writes FILE with the same bytes the
// window writes for the same ticks. Needs no display, takes no
// single-instance lock and checks for no update.
//
// On success prints "列表成功生成！" on `out` and returns 0. A catalogue that
// did not arrive, a row outside the list or a failed run: a message on `err`,
// FILE exactly as it was, and FailureExitCode.
class HeadlessExport
{
public:
    static constexpr int FailureExitCode = 2;

    HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out, std::FILE *err);
    // `songs` is the text of --songs; a null text means --all.

    // --connections: at most this many connections to the site, and as many
    // addresses asked for at a time (FetchLimits::connectionsPerSite unless set).
    void setConnections(int connections);

    int run();

private:
    int fail(const QString &message);

    QString m_siteBase;
    QString m_file;
    QString m_songs;
    std::FILE *m_out;
    std::FILE *m_err;
    int m_connections = 0; // 0: as the fetch limits stand
};

} // namespace Lumisong
