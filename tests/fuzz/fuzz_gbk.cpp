// The GBK decoder against ICU's converter for code page 936 ("GBK", which ICU
// maps to windows-936-2000), told to write one U+FFFD for every sequence it
// cannot map, which is the decoder's own rule. Both must give the same text
// for every input; decodeBytes with "gb2312", the name every fetch uses, too.

#include "tests/fuzz/fuzzsupport.h"

#include <QByteArrayView>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>
#include <vector>

#include "net/gbkdecoder.h"
#include "net/modgetcode.h"

using namespace Lumisong;

namespace {

// An illegal, unassigned or irregular sequence becomes one U+FFFD. ICU calls
// back once per such sequence; a lead byte whose next byte is no trail byte
// is a sequence of its own, and the next byte is read again.
void replaceEach(const void *, UConverterToUnicodeArgs *args, const char *, int32_t,
                 UConverterCallbackReason reason, UErrorCode *error)
{
    if (reason > UCNV_IRREGULAR)
        return; // reset, close or clone: nothing to write
    *error = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};

UConverter *icuGbk()
{
    static const std::unique_ptr<UConverter, ConverterCloser> converter = [] {
        UErrorCode error = U_ZERO_ERROR;
        UConverter *opened = ucnv_open("GBK", &error);
        if (U_FAILURE(error))
            Fuzz::fail(QStringLiteral("ICU has no GBK converter: %1")
                           .arg(QLatin1StringView(u_errorName(error))));
        ucnv_setToUCallBack(opened, replaceEach, nullptr, nullptr, nullptr, &error);
        return std::unique_ptr<UConverter, ConverterCloser>(opened);
    }();
    return converter.get();
}

QString icuDecode(QByteArrayView bytes)
{
    UConverter *converter = icuGbk();
    ucnv_reset(converter);
    // One byte never gives more than one UTF-16 unit in code page 936.
    std::vector<UChar> text(size_t(bytes.size()) + 1);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, text.data(), int32_t(text.size()), bytes.data(),
                                         int32_t(bytes.size()), &error);
    if (U_FAILURE(error))
        Fuzz::fail(QStringLiteral("ICU failed: %1").arg(QLatin1StringView(u_errorName(error))));
    return QString(reinterpret_cast<const QChar *>(text.data()), length);
}

QString firstDifference(const QString &ours, const QString &icu)
{
    qsizetype at = 0;
    while (at < ours.size() && at < icu.size() && ours.at(at) == icu.at(at))
        ++at;
    const auto unit = [](const QString &text, qsizetype i) {
        return i < text.size()
                   ? QStringLiteral("U+%1").arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'))
                   : QStringLiteral("the end");
    };
    return QStringLiteral("character %1: ours %2, ICU %3 (lengths %4 and %5)")
        .arg(at)
        .arg(unit(ours, at), unit(icu, at))
        .arg(ours.size())
        .arg(icu.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!GbkDecoder::isAvailable())
        Fuzz::fail(QStringLiteral("the GBK decoder has no table (no ICU in Qt)"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString ours = GbkDecoder::decode(bytes);
    const QString icu = icuDecode(bytes);
    if (ours != icu)
        Fuzz::fail(firstDifference(ours, icu));
    Fuzz::check(decodeBytes(bytes, QStringLiteral("gb2312")) == ours,
                QStringLiteral("decodeBytes(\"gb2312\") differs from the GBK decoder"));
    return 0;
}
