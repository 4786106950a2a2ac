#include "platform/posix/PosixComputerName.h"

#include <cctype>
#include <cstdlib>
#include <unistd.h>

namespace platform {

std::optional<std::string> PosixComputerName::GetComputerNameA() {
    if (const char* name = std::getenv("COMPUTERNAME"); name != nullptr)
        return std::string(name);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return std::nullopt;
    std::string name(host);
    name = name.substr(0, name.find('.')).substr(0, 15);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

} // namespace platform
