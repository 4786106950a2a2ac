#include "platform/win32/Win32ComputerName.h"

#include "platform/HostComputerName.h"

namespace platform::win32 {

std::optional<std::string> Win32ComputerName::GetComputerNameA() {
    return HostComputerName();
}

} // namespace platform::win32
