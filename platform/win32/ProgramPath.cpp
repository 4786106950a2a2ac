#include "platform/win32/ProgramPath.h"

#include <windows.h>

namespace platform::win32 {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: no length is reported, so grow and retry
    }
}

} // namespace platform::win32
