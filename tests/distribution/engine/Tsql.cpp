#include "tests/distribution/engine/Tsql.h"

#include "tests/support/TempDir.h"

#include <cstdio>
#include <stdexcept>

namespace testing_support {

std::string RunTsql(std::uint16_t port, const std::string& script, const std::string& user,
                    const std::string& password) {
    const TempDir work;
    const auto input = work.Write("script.sql", script + "\nexit\n");
    // The names and password of these tests are plain words: no shell quoting needed.
    const std::string command = "timeout 30 tsql -H 127.0.0.1 -p " + std::to_string(port) + " -U " +
                                user + " -P " + password + " < '" + input.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run tsql");
    std::string output;
    char buffer[4096];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, count);
    ::pclose(pipe);
    return output;
}

} // namespace testing_support
