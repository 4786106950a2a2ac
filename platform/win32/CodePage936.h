#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 text as code page 936 (GBK) bytes, converted with code page 936 itself whatever the
// system's ANSI code page is; nothing when the text is not valid UTF-8 or holds a character
// code page 936 has no bytes for (no best-fit stand-ins, no '?').
std::optional<std::string> ToCodePage936(std::string_view utf8);

} // namespace platform::win32
