#include "platform/posix/PosixComputerName.h"

#include "platform/HostComputerName.h"

namespace platform {

std::optional<std::string> PosixComputerName::GetComputerNameA() {
    return HostComputerName();
}

} // namespace platform
