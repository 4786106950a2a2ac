#include "platform/WindowsComputerName.h"

#include <algorithm>
#include <cctype>

namespace platform {

std::optional<std::string> WindowsComputerName(std::string_view hostName) {
    constexpr std::size_t longestName = 15;
    std::size_t length = std::min(hostName.find('.'), std::min(hostName.size(), longestName));
    // Never half a UTF-8 character: back off to the start of the one the limit cuts.
    while (length > 0 && length < hostName.size() &&
           (static_cast<unsigned char>(hostName[length]) & 0xC0) == 0x80)
        --length;
    std::string name(hostName.substr(0, length));
    if (name.empty())
        return std::nullopt;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

} // namespace platform
