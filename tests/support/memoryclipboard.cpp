#include "tests/support/memoryclipboard.h"

namespace Lumisong {

void MemoryClipboard::clear()
{
    m_text.clear();
    ++m_writes;
}

void MemoryClipboard::setText(const QString &text)
{
    m_text = text;
    ++m_writes;
}

QString MemoryClipboard::text() const
{
    return m_text;
}

int MemoryClipboard::writeCount() const
{
    return m_writes;
}

} // namespace Lumisong
