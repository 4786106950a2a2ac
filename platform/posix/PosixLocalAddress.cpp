#include "platform/posix/PosixLocalAddress.h"

#include "platform/Exception.h"
#include "platform/HostComputerName.h"
#include "platform/Messages.h"

#include <array>
#include <memory>
#include <optional>

#include <arpa/inet.h>
#include <netdb.h>

namespace platform {

std::string PosixLocalAddress::LocalIP() {
    const std::optional<std::string> ownName = HostComputerName();
    if (!ownName)
        throw Exception(messages::NoComputerName());
    const std::string& name = *ownName;
    addrinfo hints{};
    // Every family, so that a name with only IPv6 addresses is told apart from one that
    // does not resolve; one socket type, so that each address comes once.
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); error != 0)
        throw Exception(messages::CannotResolveComputerName(name, ::gai_strerror(error)));
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET)
            continue;
        std::array<char, INET_ADDRSTRLEN> text{};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        ::inet_ntop(AF_INET, &address->sin_addr, text.data(), text.size());
        return text.data();
    }
    throw Exception(messages::ComputerNameWithoutIPv4(name));
}

} // namespace platform
