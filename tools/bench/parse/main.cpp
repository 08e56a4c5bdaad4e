// lumisong-bench-parse [runs]: times parseCataloguePage against the literal
// removal loop on a 1000-song page of about 200 KB and prints the medians, the
// speed-up and whether both give the same songs; then times decoding the page's
// GBK bytes with our decoder and with ICU's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

#include "catalogue/pageparser.h"
#include "net/gbkdecoder.h"
#include "tests/catalogue/literalparser.h"
#include "tools/demosite/democatalogue.h"

using namespace Lumisong;
using namespace Qt::StringLiterals;

namespace {

// The site's objects carry more keys than the program reads; they make a
// 1000-song page about 200 KB, as the real page is.
QString benchmarkPage()
{
    const DemoCatalogue catalogue(1000);
    QString page = catalogue.cataloguePage(u"http://127.0.0.1:8642/song/link?hash=7c1f0e9ab24d&sid="_s);
    const QString marker = u"Data.Nlist.store = ["_s;
    const qsizetype start = page.indexOf(marker) + marker.size();
    const qsizetype end = page.indexOf(u']', start);
    QString array;
    const QList<DemoCatalogue::Song> &songs = catalogue.songs();
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const DemoCatalogue::Song &s = songs.at(i);
        if (i > 0)
            array += u',';
        array += u"{sid:'" + s.songId + u"',ti:'" + s.title + u"',si:'" + s.singer + u"',al:'"
            + s.album + u"',da:'" + s.releaseDate + u"',dl:'" + s.dailyDownloads + u"',tl:'"
            + s.totalDownloads + u"',pic:'http://img.music.example/cover/2010/" + s.songId
            + u".jpg',lrc:'http://lrc.music.example/" + s.songId
            + u".lrc',sty:'流行 华语',hot:'" + QString::number(i % 3) + u"',src:'新歌速递 第"
            + QString::number(1 + i / 50) + u"页'}";
    }
    page.replace(start, end - start, array);
    return page;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of each run.
std::vector<double> timeRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, QString::fromLocal8Bit(argv[1]).toInt()) : 51;
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(3);

    const QString page = benchmarkPage();
    const QByteArray gbk = DemoCatalogue::toGbk(page);
    out << "page: " << page.size() << " characters, " << gbk.size() << " bytes in GBK\n";

    QElapsedTimer firstDecode;
    firstDecode.start();
    const QString decoded = GbkDecoder::decode(gbk);
    const double firstMs = double(firstDecode.nsecsElapsed()) / 1e6;

    ParsedPage fast, literal;
    const double fastMs = median(timeRuns(runs, [&] { fast = parseCataloguePage(page); }));
    const double literalMs =
        median(timeRuns(std::max(3, runs / 5), [&] { literal = Literal::parsePage(page); }));
    const bool identical = fast.songs == literal.songs && fast.hashedUrl == literal.hashedUrl
        && fast.truncated == literal.truncated;
    out << "parse, literal removal loop: median " << literalMs << " ms\n"
        << "parse, parseCataloguePage:   median " << fastMs << " ms (" << runs << " runs)\n"
        << "speed-up: " << literalMs / fastMs << "x\n"
        << "songs: " << fast.songs.size() << ", identical output: " << (identical ? "yes" : "NO")
        << '\n';

    const double oursMs = median(timeRuns(runs, [&] { (void)GbkDecoder::decode(gbk); }));
    const double icuMs = median(timeRuns(runs, [&] {
        QStringDecoder icu("GBK");
        (void)QString(icu.decode(gbk));
    }));
    out << "decode GBK, first call with table build: " << firstMs << " ms\n"
        << "decode GBK, GbkDecoder: median " << oursMs << " ms\n"
        << "decode GBK, ICU:        median " << icuMs << " ms\n"
        << "decoded text equals the page: " << (decoded == page ? "yes" : "NO") << '\n';
    return identical && decoded == page ? 0 : 1;
}
