#include "platform/Utf8CodePoints.h"

namespace platform {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

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

void AppendUtf16(std::u16string& units, char32_t point) {
    if (point < 0x10000) {
        units.push_back(static_cast<char16_t>(point));
        return;
    }
    units.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
}

} // namespace platform
