#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 text as code page 936 (GBK) bytes; nothing when the text is not valid UTF-8 or holds
// a character code page 936 has no bytes for.
std::optional<std::string> ToCodePage936(std::string_view utf8);

} // namespace platform
