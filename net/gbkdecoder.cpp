#include "net/gbkdecoder.h"

#include <QStringDecoder>

#include <array>

namespace Lumisong {

namespace {

constexpr int LeadFirst = 0x81;
constexpr int LeadLast = 0xFE;
constexpr int TrailFirst = 0x40;
constexpr int TrailLast = 0xFE;
constexpr int TrailsPerLead = TrailLast - TrailFirst; // 0x40..0xFE without 0x7F
constexpr char16_t Replacement = 0xFFFD;

bool isTrail(uchar byte)
{
    return byte >= TrailFirst && byte <= TrailLast && byte != 0x7F;
}

int trailIndex(uchar byte)
{
    return byte < 0x7F ? byte - TrailFirst : byte - TrailFirst - 1;
}

struct Table
{
    std::array<char16_t, 128> single{};   // bytes 0x80..0xFF standing alone
    std::array<char16_t, (LeadLast - LeadFirst + 1) * TrailsPerLead> pairs{};
    bool available = false;
};

char16_t decodeOne(QStringDecoder &decoder, QByteArrayView bytes)
{
    decoder.resetState();
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.size() != 1 || text.at(0).unicode() == 0x1A)
        return Replacement;
    return text.at(0).unicode();
}

Table buildTable()
{
    Table table;
    table.single.fill(Replacement);
    table.pairs.fill(Replacement);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return table;
    table.available = true;
    table.single[0] = decodeOne(decoder, QByteArrayView("\x80", 1));
    table.single[0x7F] = decodeOne(decoder, QByteArrayView("\xFF", 1));

    // A whole lead row at once is a hundred times faster than pair by pair; a row
    // that does not come back as one character per pair is redone pair by pair.
    QByteArray row;
    row.reserve(2 * TrailsPerLead);
    for (int lead = LeadFirst; lead <= LeadLast; ++lead) {
        row.clear();
        for (int trail = TrailFirst; trail <= TrailLast; ++trail) {
            if (trail == 0x7F)
                continue;
            row.append(char(lead));
            row.append(char(trail));
        }
        decoder.resetState();
        const QString text = decoder.decode(row);
        char16_t *out = table.pairs.data() + (lead - LeadFirst) * TrailsPerLead;
        bool clean = !decoder.hasError() && text.size() == TrailsPerLead;
        for (int i = 0; clean && i < TrailsPerLead; ++i)
            clean = text.at(i).unicode() != 0x1A && text.at(i).unicode() != Replacement;
        if (clean) {
            std::copy(text.utf16(), text.utf16() + TrailsPerLead, out);
            continue;
        }
        for (int i = 0; i < TrailsPerLead; ++i)
            out[i] = decodeOne(decoder, QByteArrayView(row.constData() + 2 * i, 2));
    }
    return table;
}

const Table &table()
{
    static const Table built = buildTable();
    return built;
}

} // namespace

QString GbkDecoder::decode(QByteArrayView bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    char16_t *const begin = out;
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    const auto *const end = in + bytes.size();
    const Table *gbk = nullptr;
    while (in < end) {
        const uchar byte = *in;
        if (byte < 0x80) {
            *out++ = byte;
            ++in;
            continue;
        }
        if (!gbk)
            gbk = &table();
        if (byte < LeadFirst || byte > LeadLast) {
            *out++ = gbk->single[byte - 0x80];
            ++in;
            continue;
        }
        if (in + 1 == end || !isTrail(in[1])) {
            *out++ = Replacement; // the next byte, if any, starts afresh
            ++in;
            continue;
        }
        *out++ = gbk->pairs[(byte - LeadFirst) * TrailsPerLead + trailIndex(in[1])];
        in += 2;
    }
    result.truncate(out - begin);
    return result;
}

bool GbkDecoder::isAvailable()
{
    return table().available;
}

} // namespace Lumisong
