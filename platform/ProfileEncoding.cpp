#include "platform/ProfileEncoding.h"

#include "platform/Utf8CodePoints.h"

namespace platform::profiletext {
namespace {

bool StartsWith(std::string_view file, std::string_view mark) {
    return file.substr(0, mark.size()) == mark;
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
        AppendUtf16(units, *point);
    }
    return Utf16Bytes(units, encoding);
}

} // namespace platform::profiletext
