#include "tests/support/RunCommand.h"

#include <cstdio>
#include <sys/wait.h>

namespace testing_support {

CommandResult RunCommand(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, {}};
    std::string output;
    char buffer[4096];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, count);
    const int status = ::pclose(pipe);
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string ShellQuoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (const char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace testing_support
