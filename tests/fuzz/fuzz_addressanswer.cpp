// The site's answer to an address request, from its bytes to the list file
// line: an answer taken as an address must be non-empty, have nothing to trim,
// carry no control character, line or paragraph separator and no U+FFFD, and
// make a list file line that reads back as the same address.

#include "tests/fuzz/fuzzsupport.h"

#include <QStringList>

#include <algorithm>

#include "catalogue/addressanswer.h"
#include "catalogue/listformat.h"
#include "net/gbkdecoder.h"
#include "net/modgetcode.h"

using namespace Lumisong;

namespace {

const QString SiteBase = QStringLiteral("http://127.0.0.1:8642");

bool unfitForALine(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::ReplacementCharacter;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString answer = decodeBytes(bytes, QStringLiteral("gb2312")).value_or(QString());
    const std::optional<QString> address = addressFromAnswer(answer);
    if (!address)
        return 0;
    Fuzz::check(!address->isEmpty(), QStringLiteral("an empty address was taken"));
    Fuzz::check(*address == answer.trimmed(),
                QStringLiteral("the address is not the trimmed answer"));
    Fuzz::check(std::none_of(address->begin(), address->end(), unfitForALine),
                QStringLiteral("the address holds a character no line may hold"));
    Fuzz::check(address->startsWith(u'/'), QStringLiteral("the address is no path on the site"));
    Fuzz::check(std::none_of(address->begin(), address->end(),
                             [](QChar c) { return c.isSpace() || QStringView(u"<>\"{}|\\^`").contains(c); }),
                QStringLiteral("the address holds a character no URL path holds"));

    const QString line = SiteBase + *address;
    ListEntry entry;
    entry.song.downloadUrl = line;
    QString error;
    const std::optional<QByteArray> file = ListFormats::encode(ListFormat::Lst, {entry}, &error);
    Fuzz::check(file.has_value(), QStringLiteral("a taken address makes no list file"));
    const QString readBack = GbkDecoder::decode(*file);
    Fuzz::check(readBack == line + QStringLiteral("\r\n//By Tolvane\r\n"),
                QStringLiteral("the list file does not read back as the address"));
    return 0;
}
