#pragma once

namespace Lumisong {

class CommandLine;

// Runs the modes that need no display (listing, export, sending to a download
// manager, version check, help, version, usage errors) under a
// QCoreApplication: no window, no instance lock.
// Output goes to standard output as UTF-8; failures to standard error.
class HeadlessRunner
{
public:
    // Exit statuses of the listing.
    static constexpr int PageMissingExitCode = 2;
    static constexpr int OutputFailedExitCode = 3;

    explicit HeadlessRunner(const CommandLine &commandLine) : m_commandLine(commandLine) {}

    // Needs a QCoreApplication; returns the process's exit status.
    int run();

private:
    int list();
    int checkUpdate();

    const CommandLine &m_commandLine;
};

} // namespace Lumisong
