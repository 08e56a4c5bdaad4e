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

    // `input` is written to its standard input, which is then closed.
    static PreviewProcess run(const QStringList &arguments, const QByteArray &input = {});
};

} // namespace Lumisong
