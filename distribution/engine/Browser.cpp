#include "distribution/engine/Browser.h"

#include <algorithm>
#include <cctype>

namespace engine {
namespace {

enum Request : std::uint8_t { broadcastEx = 0x02, unicastEx = 0x03, unicastInstance = 0x04 };
constexpr std::uint8_t serverResponse = 0x05;
// Instance names are at most 16 characters; anything much longer is not a real request.
constexpr std::size_t maxInstanceName = 64;

Bytes Response(const BrowserInstance& instance) {
    const std::string data = "ServerName;" + instance.serverName + ";InstanceName;" +
                             instance.instanceName + ";IsClustered;No;Version;" + instance.version +
                             ";tcp;" + std::to_string(instance.tcpPort) + ";;";
    ByteWriter out;
    out.U8(serverResponse);
    out.U16Le(static_cast<std::uint16_t>(data.size()));
    out.Append(data);
    return out.Take();
}

bool SameInstance(std::span<const std::uint8_t> requested, const std::string& name) {
    return std::equal(requested.begin(), requested.end(), name.begin(), name.end(),
                      [](std::uint8_t a, char b) {
                          return std::tolower(a) == std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::optional<Bytes> BrowserAnswer(std::span<const std::uint8_t> request,
                                   const BrowserInstance& instance) {
    if (request.empty())
        return std::nullopt;
    switch (request[0]) {
    case broadcastEx:
    case unicastEx:
        return Response(instance);
    case unicastInstance: {
        auto name = request.subspan(1);
        // The name ends at its NUL; clients that leave the NUL out are answered too.
        const auto nul = std::find(name.begin(), name.end(), 0);
        name = name.first(static_cast<std::size_t>(nul - name.begin()));
        if (name.empty() || name.size() > maxInstanceName ||
            !SameInstance(name, instance.instanceName))
            return std::nullopt;
        return Response(instance);
    }
    default:
        return std::nullopt;
    }
}

} // namespace engine
