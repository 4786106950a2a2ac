#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a profile file's text is stored. The Windows profile functions read a file that begins
// with a UTF-16 byte-order mark as UTF-16 in that byte order, and every other file, a UTF-8
// mark included, as code page 936 bytes.
namespace platform::profiletext {

enum class Encoding { CodePage936, Utf16LittleEndian, Utf16BigEndian };

Encoding EncodingOf(std::string_view file);

// How many bytes the mark takes at the start of such a file.
std::size_t MarkSize(Encoding encoding);

// The code units of UTF-16 bytes (without the mark) in the encoding's byte order; a last odd
// byte is no unit.
std::u16string Utf16Units(std::string_view bytes, Encoding encoding);

// Code units as bytes in the encoding's byte order.
std::string Utf16Bytes(std::u16string_view units, Encoding encoding);

// UTF-8 text as UTF-16 bytes in the encoding's byte order; nothing when it is not valid
// UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
std::optional<std::string> Utf16BytesOfUtf8(std::string_view utf8, Encoding encoding);

} // namespace platform::profiletext
