#include "distribution/engine/Utf16.h"

#include "platform/Utf8CodePoints.h"

#include <optional>

namespace engine {
namespace {

constexpr char32_t replacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

Bytes Utf8ToUtf16Le(const std::string& text) {
    std::u16string units;
    for (std::size_t at = 0; at < text.size();) {
        if (const std::optional<char32_t> point = platform::NextCodePoint(text, at)) {
            platform::AppendUtf16(units, *point);
        } else {
            units.push_back(static_cast<char16_t>(replacement));
            ++at;
        }
    }
    ByteWriter out;
    for (const char16_t unit : units)
        out.U16Le(unit);
    return out.Take();
}

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t k) {
        return static_cast<char32_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t first = unit(k);
        if (first >= 0xD800 && first <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
            unit(k + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
            ++k;
        } else if (first >= 0xD800 && first <= 0xDFFF) {
            AppendUtf8(out, replacement);
        } else {
            AppendUtf8(out, first);
        }
    }
    if (bytes.size() % 2 != 0)
        AppendUtf8(out, replacement);
    return out;
}

std::size_t Utf16Length(const std::string& text) {
    return Utf8ToUtf16Le(text).size() / 2;
}

} // namespace engine
