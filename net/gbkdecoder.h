#pragma once

#include <QByteArrayView>
#include <QString>

namespace Lumisong {

// Decodes code page 936 (GBK) as the target platform does: 0x80 is the euro sign,
// every lead byte 0x81-0xFE with a trail byte 0x40-0x7E or 0x80-0xFE is one
// character, and an invalid or unfinished sequence gives U+FFFD (a byte that
// cannot be a trail byte is then read again on its own). The table of two-byte
// characters is built once, on first use, from the ICU converter; ICU's own
// strict "GB2312" converter is not used since it drops GBK characters.
class GbkDecoder
{
public:
    static QString decode(QByteArrayView bytes);
    // False when the table could not be built (no ICU); decode then yields U+FFFD
    // for every non-ASCII byte.
    static bool isAvailable();
};

} // namespace Lumisong
