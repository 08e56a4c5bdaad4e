#pragma once

#include "platform/ui/clipboard.h"

namespace Lumisong {

// Test double: keeps the text in memory and counts the writes, so a test can
// tell "copied the same text again" from "left untouched".
class MemoryClipboard final : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;

    int writeCount() const; // clear() and setText() calls so far

private:
    QString m_text;
    int m_writes = 0;
};

} // namespace Lumisong
