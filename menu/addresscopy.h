#pragma once

#include <QObject>
#include <QString>

namespace Lumisong {

class AddressResolver;
class Catalogue;
class Clipboard;
struct AddressResult;

// Puts a song's download address on the clipboard, asking the site for it
// only while the song has none yet (the address, once known, is kept by the
// catalogue). Used by the song list's double-click and the menu's copy
// command. It does not wait: a song without an address is copied when the
// answer comes. One copy waits at a time: asked for another song meanwhile,
// it drops the first, so the clipboard gets the song asked for last.
class AddressCopy final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddressCopy)

public:
    // The catalogue and the clipboard must outlive the copy.
    AddressCopy(Catalogue &catalogue, Clipboard &clipboard, QObject *parent = nullptr);
    ~AddressCopy() override; // a copy under way ends without a word

    // A slot outside the loaded rows copies nothing.
    void copy(int slot);
    // Drops the copy under way, if any: nothing is asked for or copied later.
    void abort();

    // The status line's text for a failure.
    static QString failureText();

signals:
    // The address could not be resolved; the clipboard and the song are untouched.
    void failed();

private:
    void onResolved(const AddressResult &result);
    void put(const QString &address);

    Catalogue &m_catalogue;
    Clipboard &m_clipboard;
    AddressResolver *m_resolver;
    int m_waiting = -1; // the slot whose answer is awaited
};

} // namespace Lumisong
