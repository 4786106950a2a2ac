#include "platform/ProfileEncoding.h"

namespace platform::profiletext {
namespace {

bool StartsWith(std::string_view file, std::string_view mark) {
    return file.substr(0, mark.size()) == mark;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// One code point from UTF-8 at `at`, moving past it; nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t length = 0;
    char32_t point = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (utf8.size() - at < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[at + i]);
        if (!IsContinuation(byte))
            return std::nullopt;
        point = point << 6 | (byte & 0x3F);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return std::nullopt;
    at += length;
    return point;
}

} // namespace

Encoding EncodingOf(std::string_view file) {
    if (StartsWith(file, "\xFF\xFE"))
        return Encoding::Utf16LittleEndian;
    if (StartsWith(file, "\xFE\xFF"))
        return Encoding::Utf16BigEndian;
    return Encoding::CodePage936;
}

std::size_t MarkSize(Encoding encoding) {
    return encoding == Encoding::CodePage936 ? 0 : 2;
}

std::u16string Utf16Units(std::string_view bytes, Encoding encoding) {
    const bool little = encoding == Encoding::Utf16LittleEndian;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(little ? second << 8 | first : first << 8 | second);
    }
    return units;
}

std::string Utf16Bytes(std::u16string_view units, Encoding encoding) {
    const bool little = encoding == Encoding::Utf16LittleEndian;
    std::string bytes(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto high = static_cast<char>(units[i] >> 8);
        const auto low = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i] = little ? low : high;
        bytes[2 * i + 1] = little ? high : low;
    }
    return bytes;
}

std::optional<std::string> Utf16BytesOfUtf8(std::string_view utf8, Encoding encoding) {
    std::u16string units;
    units.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> point = NextCodePoint(utf8, at);
        if (!point)
            return std::nullopt;
        if (*point < 0x10000) {
            units.push_back(static_cast<char16_t>(*point));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((*point - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((*point - 0x10000) & 0x3FF)));
        }
    }
    return Utf16Bytes(units, encoding);
}

} // namespace platform::profiletext
