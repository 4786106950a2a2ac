#pragma once

#include "platform/win32/WideText.h"

#include <windows.h>

#include <string>

// The profile table's names are code page 936 bytes; the stores and the system's profile
// functions take text.
inline std::string FromCodePage936(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return platform::win32::Narrow(wide);
}
