#include "tests/support/Tsql.h"

#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace testing_support {

std::string RunTsql(std::uint16_t port, const std::string& script, const std::string& user,
                    const std::string& password) {
    const TempDir work;
    const auto input = work.Write("script.sql", script + "\nexit\n");
    // The names and password of these tests are plain words: no shell quoting needed.
    return RunCommand("timeout 30 tsql -H 127.0.0.1 -p " + std::to_string(port) + " -U " + user +
                      " -P " + password + " < " + ShellQuoted(input) + " 2>&1")
        .output;
}

} // namespace testing_support
