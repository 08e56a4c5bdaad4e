#pragma once

#include <QString>

namespace Lumisong {

class Catalogue;

// The one place where a song's download address is asked for one song at a
// time and kept: storeAddress keeps an address in its song, and
// resolveAndStoreAddress asks for the slot's address, waits for the answer
// with the event loop running (as every command of the window waits) and
// keeps it. False, with the song untouched, when no request could be made,
// the answer is no address, or the wait ended first (the application quits).
void storeAddress(Catalogue &catalogue, int slot, const QString &downloadUrl);
bool resolveAndStoreAddress(Catalogue &catalogue, int slot);

} // namespace Lumisong
