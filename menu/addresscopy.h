#pragma once

#include <QString>

namespace Lumisong {

class Catalogue;
class Clipboard;

// Puts a song's download address on the clipboard, asking the site for it
// only while the song has none yet (the address, once known, is kept by the
// catalogue). Used by the song list's double-click and the menu's copy command.
class AddressCopy
{
public:
    // False when the address could not be resolved; the clipboard is then untouched.
    static bool copy(Catalogue &catalogue, int slot, Clipboard &clipboard);

    // The status line's text for that failure.
    static QString failureText();
};

} // namespace Lumisong
