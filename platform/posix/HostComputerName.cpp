#include "platform/HostComputerName.h"

#include "platform/WindowsComputerName.h"

#include <array>
#include <cstdlib>
#include <unistd.h>

namespace platform {

std::optional<std::string> HostComputerName() {
    if (const char* name = std::getenv("COMPUTERNAME"); name != nullptr && *name != '\0')
        return std::string(name);
    std::array<char, 256> host{};
    if (::gethostname(host.data(), host.size() - 1) != 0)
        return std::nullopt;
    return WindowsComputerName(host.data());
}

} // namespace platform
