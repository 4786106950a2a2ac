#include "platform/posix/PosixLocalAddress.h"

#include "platform/Exception.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

namespace platform {
namespace {

std::string OwnName() {
    if (const char* name = std::getenv("COMPUTERNAME"); name != nullptr && *name != '\0')
        return name;
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0)
        throw Exception(std::string("Cannot get this computer's name: gethostname: ") +
                        std::strerror(errno));
    return name.data();
}

} // namespace

std::string PosixLocalAddress::LocalIP() {
    const std::string name = OwnName();
    addrinfo hints{};
    // Every family, so that a name with only IPv6 addresses is told apart from one that
    // does not resolve; one socket type, so that each address comes once.
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); error != 0)
        throw Exception("Cannot resolve this computer's name '" + name +
                        "': " + ::gai_strerror(error));
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET)
            continue;
        std::array<char, INET_ADDRSTRLEN> text{};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        ::inet_ntop(AF_INET, &address->sin_addr, text.data(), text.size());
        return text.data();
    }
    throw Exception("This computer's name '" + name + "' resolves to no IPv4 address");
}

} // namespace platform
