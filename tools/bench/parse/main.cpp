// lumisong-bench-parse [runs]: times parseCataloguePage against the literal
// removal loop on a 1000-song page of about 200 KB and prints the medians, the
// speed-up and whether both give the same songs; then times decoding the page's
// GBK bytes with our decoder and with ICU's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>

#include "catalogue/pageparser.h"
#include "net/gbkdecoder.h"
#include "literalparser.h"
#include "tools/bench/benchfigures.h"
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(5, QString::fromLocal8Bit(argv[1]).toInt()) : 200;

    const QString page = benchmarkPage();
    const QByteArray gbk = DemoCatalogue::toGbk(page);
    std::printf("page: %lld characters, %lld bytes in GBK\n", qlonglong(page.size()),
                qlonglong(gbk.size()));

    QElapsedTimer firstDecode;
    firstDecode.start();
    const QString decoded = GbkDecoder::decode(gbk);
    const double firstMs = double(firstDecode.nsecsElapsed()) / 1e6;

    ParsedPage fast, literal;
    const Bench::Figures fastFigures =
        Bench::measure(rounds, [&](int) { fast = parseCataloguePage(page); });
    const Bench::Figures literalFigures =
        Bench::measure(std::max(5, rounds / 10), [&](int) { literal = Literal::parsePage(page); });
    const bool identical = fast.songs == literal.songs && fast.hashedUrl == literal.hashedUrl
        && fast.truncated == literal.truncated;
    Bench::print("parse, literal removal loop", literalFigures);
    Bench::print("parse, parseCataloguePage", fastFigures);
    std::printf("speed-up (medians): %.1fx\nsongs: %lld, identical output: %s\n",
                literalFigures.median / fastFigures.median, qlonglong(fast.songs.size()),
                identical ? "yes" : "NO");

    Bench::print("decode GBK, GbkDecoder",
                 Bench::measure(rounds, [&](int) { (void)GbkDecoder::decode(gbk); }));
    Bench::print("decode GBK, ICU", Bench::measure(rounds, [&](int) {
                     QStringDecoder icu("GBK");
                     (void)QString(icu.decode(gbk));
                 }));
    std::printf("decode GBK, first call with table build: %.3f ms\n"
                "decoded text equals the page: %s\n",
                firstMs, decoded == page ? "yes" : "NO");
    return identical && decoded == page ? 0 : 1;
}
