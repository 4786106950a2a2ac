#include "platform/HostComputerName.h"

#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {

// Windows keeps the name itself; COMPUTERNAME is only its copy in the environment.
std::optional<std::string> HostComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size) || size == 0)
        return std::nullopt;
    return win32::Narrow(std::wstring_view(name, size));
}

} // namespace platform
