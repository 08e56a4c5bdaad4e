#pragma once

#include <QByteArray>
#include <QStringList>

namespace Lumisong {

// One run of the built lumisong-preview, bounded to 30 seconds.
struct PreviewProcess
{
    int status = -1;      // exit status; -1 when it crashed or did not finish
    QByteArray output;    // standard output
    QByteArray errors;    // standard error

    static PreviewProcess run(const QStringList &arguments);
};

} // namespace Lumisong
