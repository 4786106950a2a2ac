#include "distribution/engine/Utf16.h"

#include <vector>

namespace engine {
namespace {

constexpr char32_t replacement = 0xFFFD;

std::vector<char32_t> DecodeUtf8(const std::string& text) {
    std::vector<char32_t> points;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            point = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            point = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            point = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            point = lead & 0x07;
        } else {
            points.push_back(replacement);
            ++i;
            continue;
        }
        bool valid = i + extra < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        if (!valid || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            points.push_back(replacement);
            ++i;
            continue;
        }
        points.push_back(point);
        i += extra + 1;
    }
    return points;
}

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
    ByteWriter out;
    for (char32_t point : DecodeUtf8(text)) {
        if (point < 0x10000) {
            out.U16Le(static_cast<std::uint16_t>(point));
        } else {
            point -= 0x10000;
            out.U16Le(static_cast<std::uint16_t>(0xD800 | (point >> 10)));
            out.U16Le(static_cast<std::uint16_t>(0xDC00 | (point & 0x3FF)));
        }
    }
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
