#pragma once

#include "distribution/engine/Bytes.h"

#include <span>
#include <string>

namespace engine {

// TDS carries text as UTF-16LE; inside the engine text is UTF-8.
// Malformed input on either side becomes U+FFFD rather than an error: text from the wire
// is only ever echoed back or compared, so a lossy character is harmless.
Bytes Utf8ToUtf16Le(const std::string& text);
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

// The number of UTF-16 code units of a UTF-8 text, as TDS length prefixes count them.
std::size_t Utf16Length(const std::string& text);

} // namespace engine
