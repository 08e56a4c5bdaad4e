#pragma once

class QUrl;

namespace Lumisong {

// Opens an address in the user's default browser. Only absolute http and
// https addresses are ever handed on; anything else (file:, a program path,
// mailto:, a relative address) is refused here, whichever opener is in use.
// Tests substitute RecordingShellOpener.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    // False when the address was refused or the platform could not open it.
    bool open(const QUrl &url);

    static bool isWebAddress(const QUrl &url);

protected:
    virtual bool openWebAddress(const QUrl &url) = 0;
};

} // namespace Lumisong
