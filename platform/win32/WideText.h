#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 inside the launcher, UTF-16 at every W function. Invalid UTF-8 becomes U+FFFD,
// as the system's own conversion does; nothing is dropped silently.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's words for a GetLastError code, as UTF-8, without the trailing line break.
std::string ErrorText(unsigned long code);

} // namespace platform::win32
