#include "platform/win32/CodePage936.h"

#include <windows.h>

namespace platform::win32 {

constexpr UINT codePage936 = 936;

std::optional<std::string> ToCodePage936(std::string_view utf8) {
    if (utf8.empty())
        return std::string();
    const int size = static_cast<int>(utf8.size());
    const int wideSize =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wideSize == 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideSize);

    BOOL usedDefault = FALSE;
    const int bytesSize = ::WideCharToMultiByte(codePage936, WC_NO_BEST_FIT_CHARS, wide.data(),
                                                wideSize, nullptr, 0, nullptr, &usedDefault);
    if (bytesSize == 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(bytesSize), '\0');
    ::WideCharToMultiByte(codePage936, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, bytes.data(),
                          bytesSize, nullptr, &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

} // namespace platform::win32
