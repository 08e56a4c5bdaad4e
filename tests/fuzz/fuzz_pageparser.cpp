// The page parser against the literal removal loop it must equal: every input,
// decoded from GBK as a fetched page is, goes through both, once as it stands
// and once as the text of a song array (so that the array scanner is reached
// without the fuzzer first finding the marker). Any difference in hashedUrl,
// songs, their fields or their count is a finding.

#include "tests/fuzz/fuzzsupport.h"

#include <QStringList>

#include <algorithm>

#include "catalogue/pageparser.h"
#include "net/modgetcode.h"
#include "tests/support/literalparser.h"

using namespace Lumisong;

namespace {

// The literal loop copies what is left of the array text once per record, and
// a page has at most 1001 records it reads; past this many character steps it
// would take longer than the fuzzer allows one input, so only the parser runs.
constexpr qint64 LiteralBudget = qint64(1) << 26;

bool literalAffordable(QStringView page)
{
    const QString arrayText = textBetween(page, u"Data.Nlist.store = [", u"]");
    const qint64 records = std::min<qint64>(arrayText.count(u'}') + 1, 1001);
    return records * arrayText.size() <= LiteralBudget;
}

QString describe(const SongRecord &song)
{
    return QStringList{song.songId,      song.album,          song.title,          song.singer,
                       song.releaseDate, song.dailyDownloads, song.totalDownloads, song.downloadUrl}
        .join(QLatin1Char('|'));
}

void compareWithLiteral(QStringView page)
{
    const ParsedPage parsed = parseCataloguePage(page);
    Fuzz::check(parsed.songs.size() <= 1000, QStringLiteral("more than 1000 songs"));
    if (!literalAffordable(page))
        return;
    const ParsedPage literal = Literal::parsePage(page);
    Fuzz::check(parsed.hashedUrl == literal.hashedUrl,
                QStringLiteral("hashedUrl \"%1\", the literal loop cuts \"%2\"")
                    .arg(parsed.hashedUrl, literal.hashedUrl));
    Fuzz::check(parsed.truncated == literal.truncated,
                QStringLiteral("truncated %1, the literal loop says %2")
                    .arg(parsed.truncated)
                    .arg(literal.truncated));
    Fuzz::check(parsed.songs.size() == literal.songs.size(),
                QStringLiteral("%1 songs, the literal loop finds %2")
                    .arg(parsed.songs.size())
                    .arg(literal.songs.size()));
    for (qsizetype i = 0; i < parsed.songs.size(); ++i) {
        if (parsed.songs.at(i) != literal.songs.at(i))
            Fuzz::fail(QStringLiteral("song %1 is [%2], the literal loop has [%3]")
                           .arg(i)
                           .arg(describe(parsed.songs.at(i)), describe(literal.songs.at(i))));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString page = decodeBytes(bytes, QStringLiteral("gb2312")).value_or(QString());
    compareWithLiteral(page);
    const QString asArray = u"hashedurl:\"x\" Data.Nlist.store = [" + page + u']';
    compareWithLiteral(asArray);
    return 0;
}
