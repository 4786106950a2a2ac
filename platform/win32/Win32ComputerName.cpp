#include "platform/win32/Win32ComputerName.h"

#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform::win32 {

std::optional<std::string> Win32ComputerName::GetComputerNameA() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size))
        return std::nullopt;
    return Narrow(std::wstring_view(name, size));
}

} // namespace platform::win32
