#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace platform::browser {

struct InstanceEndpoint {
    std::string address; // numeric, the address that answered
    std::uint16_t port;
};

// Asks the SQL Server Browser on every address of the host for the TCP port of a named
// instance, sending the request again a few times until the deadline. Raises an Exception
// with the reason (no answer, unknown instance, no TCP, unresolvable host); the caller
// names the data source.
InstanceEndpoint LookupInstance(const std::string& host, const std::string& instance,
                                std::chrono::steady_clock::time_point deadline);

} // namespace platform::browser
