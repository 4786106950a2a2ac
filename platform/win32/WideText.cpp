#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring result(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, result.data(),
                          static_cast<int>(result.size()));
    return result;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    std::string result(static_cast<std::size_t>(::WideCharToMultiByte(
                           CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr)),
                       '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, result.data(),
                          static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

std::string ErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        return "error " + std::to_string(code);
    std::wstring_view message(text, length);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.remove_suffix(1);
    std::string result = Narrow(message) + " (" + std::to_string(code) + ")";
    ::LocalFree(text);
    return result;
}

} // namespace platform::win32
