#pragma once

#include <QString>

#include <cstdio>

#include "catalogue/listformat.h"
#include "cli/chosensongscommand.h"

namespace Lumisong {

// "lumisong --site URL --export FILE --all|--songs LIST [--connections N] [--streams M]":
// loads the catalogue as the window does, resolves the chosen songs (several
// at a time, taken in list order) and writes FILE with the same bytes the
// window writes for the same ticks. Needs no display, takes no
// single-instance lock and checks for no update.
//
// On success prints "列表成功生成！" on `out` and ends with 0. A catalogue that
// did not arrive, a row outside the list, an archive that cannot be read or a
// failed run: a message on `err`, FILE (and the archive) exactly as it was,
// and FailureExitCode.
//
// With an archive, the chosen songs whose ids it lists are left out, and the
// ids written are added to it along with the list. When no chosen song is
// left, nothing is written, "没有新的歌曲。" goes to `out` and the end is 0.
class HeadlessExport final : public ChosenSongsCommand
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeadlessExport)

public:
    // `songs` is the text of --songs; a null text means --all.
    HeadlessExport(QString siteBase, QString file, QString songs, std::FILE *out, std::FILE *err,
                   QObject *parent = nullptr);
    ~HeadlessExport() override;

    // --connections: at most this many connections to the site, and as many
    // addresses asked for at a time (FetchLimits::connectionsPerSite unless set).
    void setConnections(int connections) { songs().connections = connections; }
    // --streams: where the site multiplexes (HTTP/2), this many requests side
    // by side on one connection (FetchLimits::streamsPerConnection unless set).
    void setStreams(int streams) { songs().streams = streams; }
    // --format: the kind of list written (ListFormat::Lst unless set).
    void setFormat(ListFormat format) { m_format = format; }
    // --archive: the file of song ids already exported; empty text = none.
    void setArchive(const QString &path) { songs().archivePath = path; }

    void start() override;

private:
    void resolved() override;

    QString m_file;
    ListFormat m_format = ListFormat::Lst;
};

} // namespace Lumisong
