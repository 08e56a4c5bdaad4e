#pragma once

#include <QString>

namespace Lumisong {

// The clipboard as the commands use it: clear it, then put plain text on it.
// Tests substitute a clipboard held in memory to read what a command left there.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

} // namespace Lumisong
