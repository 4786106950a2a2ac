#include "platform/win32/StopEvent.h"

#include "platform/win32/FullPath.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace platform::win32 {
namespace {

// Without the last separator, which the system keeps when it is given one.
std::wstring FolderPath(const std::wstring& folder) {
    std::wstring full = FullPath(folder);
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return full;
}

// Paths on Windows compare without case.
std::wstring UpperCase(const std::wstring& text) {
    std::wstring upper(text.size(), L'\0');
    const int length = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(),
                                       static_cast<int>(text.size()), upper.data(),
                                       static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return length == static_cast<int>(text.size()) ? upper : text;
}

} // namespace

std::wstring StopEventName(const std::wstring& dataFolder) {
    // A hash, since an object's name may hold no backslash and is shorter than a path may be.
    std::uint64_t hash = 14695981039346656037u;
    for (const wchar_t unit : UpperCase(FolderPath(dataFolder))) {
        hash ^= static_cast<std::uint16_t>(unit);
        hash *= 1099511628211u;
    }
    wchar_t hex[17] = {};
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return std::wstring(L"tdsengine-stop-") + hex;
}

} // namespace platform::win32
