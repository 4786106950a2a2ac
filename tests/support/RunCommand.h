#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

struct CommandResult {
    int exitCode; // -1 when the shell could not run or the command ended by a signal
    std::string output;
};

// Runs a command line through /bin/sh and collects what it printed on standard output.
CommandResult RunCommand(const std::string& command);

// The path as one word of a /bin/sh command line, whatever characters it holds.
std::string ShellQuoted(const std::filesystem::path& path);

} // namespace testing_support
