#pragma once

#include <memory>

namespace Lumisong {

class CommandLine;
class HeadlessCommand;

// Runs the modes that need no display (listing, export, sending to a download
// manager, downloading, version check, help, version, usage errors) under a
// QCoreApplication: no window, no instance lock.
// Output goes to standard output as UTF-8; failures to standard error.
class HeadlessRunner
{
public:
    explicit HeadlessRunner(const CommandLine &commandLine) : m_commandLine(commandLine) {}

    // Needs a QCoreApplication whose event loop is not running: a command
    // runs on it until its end. Returns the process's exit status.
    int run();

private:
    // The command of the mode, or null for the modes that wait for nothing.
    std::unique_ptr<HeadlessCommand> command() const;
    // Help, version and usage errors.
    int answerAtOnce() const;

    const CommandLine &m_commandLine;
};

} // namespace Lumisong
