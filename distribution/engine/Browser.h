#pragma once

#include "distribution/engine/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace engine {

// What the browser service tells clients about the one instance this engine serves.
struct BrowserInstance {
    std::string serverName;
    std::string instanceName;
    std::string version;
    std::uint16_t tcpPort = 0;
};

// The answer to one browser datagram: SVR_RESP (0x05, two-byte little-endian length,
// "ServerName;...;tcp;<port>;;") for a request for every instance (0x02, 0x03) or for this
// instance by name (0x04, compared case-insensitively); nothing for another instance or
// anything else, as the service stays silent then.
std::optional<Bytes> BrowserAnswer(std::span<const std::uint8_t> request,
                                   const BrowserInstance& instance);

} // namespace engine
