#include "cli/headlesscommand.h"

namespace Lumisong {

HeadlessCommand::~HeadlessCommand() = default;

void HeadlessCommand::say(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

int HeadlessCommand::complain(std::FILE *stream, const QString &message)
{
    say(stream, QStringLiteral("lumisong: ") + message);
    return FailureExitCode;
}

int HeadlessCommand::print(std::FILE *out, const QByteArray &bytes, std::FILE *err, int fallback)
{
    const size_t n = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    if (n == size_t(bytes.size()) && std::fflush(out) == 0)
        return fallback;
    say(err, QStringLiteral("lumisong: cannot write to standard output"));
    return OutputFailedExitCode;
}

} // namespace Lumisong
