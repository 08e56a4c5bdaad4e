#include "tests/tools/preview/previewprocess.h"

#include <QProcess>

namespace Lumisong {

PreviewProcess PreviewProcess::run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(QStringLiteral(LUMISONG_PREVIEW_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    PreviewProcess result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    return result;
}

} // namespace Lumisong
