#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Paths to and from UTF-8 on every host: to the Windows C++ library a plain string is in the
// ANSI code page, which loses what it cannot hold.
inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8String(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

} // namespace platform
