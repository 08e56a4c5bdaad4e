#include "platform/ui/systemclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Lumisong {

void SystemClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

void SystemClipboard::setText(const QString &text)
{
    // An empty text leaves the clipboard empty rather than holding an empty string.
    if (text.isEmpty())
        QGuiApplication::clipboard()->clear();
    else
        QGuiApplication::clipboard()->setText(text);
}

QString SystemClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

} // namespace Lumisong
