#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// One code point from UTF-8 at `at`, moving past it; nothing, and `at` unmoved, for a
// malformed sequence (overlong forms, surrogates and values past U+10FFFF included).
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& at);

// A code point as one UTF-16 unit, or as a surrogate pair above U+FFFF.
void AppendUtf16(std::u16string& units, char32_t point);

} // namespace platform
