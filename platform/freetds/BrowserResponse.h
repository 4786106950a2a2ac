#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The SQL Server Browser protocol on UDP port 1434, without the sockets: the request for
// one named instance and the server's answer.
namespace platform::browser {

inline constexpr std::uint16_t browserPort = 1434;

// CLNT_UCAST_INST: 0x04, the instance name, a NUL.
std::string InstanceRequest(const std::string& instance);

struct ServerInstance {
    std::string serverName;
    std::string instanceName;
    std::optional<std::uint16_t> tcpPort; // nothing when the instance does not listen on TCP
};

// Parses an SVR_RESP datagram (0x05, a little-endian length, then "key;value;" pairs with
// ";;" after each instance); nothing when the datagram is not one.
std::optional<std::vector<ServerInstance>> ParseResponse(std::string_view datagram);

// The instance of that name, compared case-insensitively.
const ServerInstance* FindInstance(const std::vector<ServerInstance>& instances,
                                   const std::string& name);

} // namespace platform::browser
