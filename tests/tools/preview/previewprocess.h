#pragma once

#include <QByteArray>
#include <QStringList>

#include "tests/support/measuredrun.h"

namespace Lumisong {

// One run of the built lumisong-preview, bounded to 30 seconds.
struct PreviewProcess
{
    int status = -1;      // exit status; -1 when it crashed or did not finish
    QByteArray output;    // standard output
    QByteArray errors;    // standard error

    // `input` becomes its standard input.
    static PreviewProcess run(const QStringList &arguments, const QByteArray &input = {})
    {
        Test::MeasuredRun::Options options;
        options.input = input;
        const Test::MeasuredRun run =
            Test::MeasuredRun::run(QStringLiteral(LUMISONG_PREVIEW_PATH), arguments, 30000, options);
        return {run.exitCode, run.out, run.err};
    }
};

} // namespace Lumisong
