#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// Runs FreeTDS's tsql against 127.0.0.1:port in its default settings, feeding it a script
// (batches ended by "go"), and returns everything it printed.
std::string RunTsql(std::uint16_t port, const std::string& script, const std::string& user = "sa",
                    const std::string& password = "tulip");

} // namespace testing_support
