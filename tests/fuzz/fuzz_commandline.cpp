// The command line and the --songs list. The input is an argument vector, the
// arguments separated by NUL bytes as the system hands them over, after the
// program's name. Beyond not crashing: a parse that succeeds leaves addresses
// that are already normal (normalising them again changes nothing), parsing
// twice gives the same result, and dropping toolkit options only drops. Every
// argument is also read as a --songs list; a list that is accepted must not
// depend on the order of its items, must give the same ticks when written
// back as rows and ranges, and must tick the same rows of a longer list.

#include "tests/fuzz/fuzzsupport.h"

#include <QStringList>

#include <algorithm>

#include "cli/commandline.h"
#include "cli/rowselection.h"

using namespace Lumisong;

namespace {

// The longest single argument the system passes to a program.
constexpr qsizetype MaxArgumentBytes = 131072;

struct Outcome
{
    CommandLine::Mode mode;
    QString error, siteBase, updateUrl, exportFile, exportSongs;
    bool json;
    QString rpcUrl;

    friend bool operator==(const Outcome &, const Outcome &) = default;
};

Outcome parsed(const QStringList &args)
{
    CommandLine commandLine;
    commandLine.parse(args);
    return {commandLine.mode(),      commandLine.errorText(),  commandLine.siteBase(),
            commandLine.updateUrl(), commandLine.exportFile(), commandLine.exportSongs(),
            commandLine.json(),      commandLine.rpcUrl()};
}

void checkCommandLine(const QStringList &args)
{
    const Outcome first = parsed(args);
    Fuzz::check(parsed(args) == first, QStringLiteral("two parses of one command line differ"));
    using Mode = CommandLine::Mode;
    Fuzz::check((first.mode == Mode::Error) == !first.error.isEmpty(),
                QStringLiteral("an error without text, or a text without error"));
    if (first.mode == Mode::Window || first.mode == Mode::List || first.mode == Mode::Export) {
        QString error;
        Fuzz::check(CommandLine::normaliseSiteBase(first.siteBase, &error) == first.siteBase,
                    QStringLiteral("site base %1 is not normal").arg(first.siteBase));
        Fuzz::check(CommandLine::normaliseHttpUrl(first.updateUrl, &error) == first.updateUrl,
                    QStringLiteral("update address %1 is not normal").arg(first.updateUrl));
    }
    if (first.mode == Mode::Export)
        Fuzz::check(!first.exportFile.isEmpty(), QStringLiteral("an export without a file"));
    if (first.mode == Mode::SendTo) {
        QString error;
        Fuzz::check(CommandLine::normaliseHttpUrl(first.rpcUrl, &error) == first.rpcUrl,
                    QStringLiteral("RPC address %1 is not normal").arg(first.rpcUrl));
    }

    const QStringList kept = CommandLine::withoutToolkitOptions(args);
    Fuzz::check(!kept.isEmpty() && kept.first() == args.first(),
                QStringLiteral("the program's name was dropped"));
    qsizetype at = 0;
    for (const QString &arg : kept) {
        while (at < args.size() && args.at(at) != arg)
            ++at;
        Fuzz::check(at < args.size(), QStringLiteral("dropping toolkit options added %1").arg(arg));
        ++at;
    }
}

std::optional<std::vector<bool>> ticksOf(const QString &songs, int rowCount)
{
    QString error;
    const std::optional<RowSelection> selection = RowSelection::parse(songs, &error);
    if (!selection)
        return std::nullopt;
    return selection->ticks(rowCount, &error);
}

QString asRowsAndRanges(const std::vector<bool> &ticks)
{
    QStringList items;
    for (size_t row = 0; row < ticks.size(); ++row) {
        if (!ticks[row])
            continue;
        size_t last = row;
        while (last + 1 < ticks.size() && ticks[last + 1])
            ++last;
        items.append(last == row ? QString::number(row + 1)
                                 : QStringLiteral("%1-%2").arg(row + 1).arg(last + 1));
        row = last;
    }
    return items.join(QLatin1Char(','));
}

void checkSongList(const QString &songs)
{
    QString error;
    const std::optional<RowSelection> selection = RowSelection::parse(songs, &error);
    if (!selection) {
        Fuzz::check(!error.isEmpty(), QStringLiteral("a list turned down without a reason"));
        return;
    }
    QStringList items = songs.split(QLatin1Char(','));
    std::reverse(items.begin(), items.end());
    const QString reversed = items.join(QLatin1Char(','));
    for (const int rowCount : {0, 7, 1000}) {
        const std::optional<std::vector<bool>> ticks = selection->ticks(rowCount, &error);
        Fuzz::check(ticksOf(reversed, rowCount) == ticks,
                    QStringLiteral("the order of the items matters"));
        if (!ticks)
            continue;
        Fuzz::check(ticks->size() == size_t(rowCount), QStringLiteral("ticks for another list"));
        const QString written = asRowsAndRanges(*ticks);
        if (!written.isEmpty())
            Fuzz::check(ticksOf(written, rowCount) == ticks,
                        QStringLiteral("the ticks written as %1 tick other rows").arg(written));
        std::vector<bool> longer = *ticks;
        longer.push_back(false);
        Fuzz::check(selection->ticks(rowCount + 1, &error) == longer,
                    QStringLiteral("one more row in the list changes the ticks"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList args{QStringLiteral("lumisong")};
    for (const QByteArray &arg : bytes.split('\0')) {
        if (arg.size() >= MaxArgumentBytes)
            return 0; // the system passes no such argument
        args.append(QString::fromLocal8Bit(arg));
    }
    checkCommandLine(args);
    for (qsizetype i = 1; i < args.size(); ++i)
        checkSongList(args.at(i));
    return 0;
}
