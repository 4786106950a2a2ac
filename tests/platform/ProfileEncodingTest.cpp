#include "platform/ProfileEncoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using platform::profiletext::Encoding;
namespace profiletext = platform::profiletext;

TEST(ProfileEncoding, IsTheUtf16MarksOrCodePage936) {
    const std::pair<std::string, Encoding> files[] = {
        {"\xFF\xFE", Encoding::Utf16LittleEndian},
        {std::string("\xFE\xFF\0[", 4), Encoding::Utf16BigEndian},
        {"\xEF\xBB\xBF[a]", Encoding::CodePage936},
        {"\xFF", Encoding::CodePage936},
        {"", Encoding::CodePage936},
        {"[a]\r\n\xFF\xFE", Encoding::CodePage936},
    };
    for (const auto& [file, encoding] : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(profiletext::EncodingOf(file), encoding);
    }
}

TEST(ProfileEncoding, Utf16BytesOfUtf8InEachByteOrder) {
    const struct {
        const char* name;
        std::string utf8;
        std::optional<std::string> littleEndian;
    } cases[] = {
        {"ASCII", "ip=1", std::string("i\0p\0=\0001\0", 8)},
        {"two and three bytes", "\xC3\xA9\xE6\x9C\x8D", std::string("\xE9\0\x0D\x67", 4)},
        {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80",
         std::string("\x3D\xD8\0\xDE", 4)},
        {"nothing", "", ""},
        {"overlong", "\xC0\x80", std::nullopt},
        {"overlong of three bytes", "\xE0\x80\xAF", std::nullopt},
        {"a surrogate", "\xED\xA0\x80", std::nullopt},
        {"past U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
        {"cut short", "a\xE6\x9C", std::nullopt},
        {"a lone continuation byte", "\x80", std::nullopt},
        {"a continuation byte missing",
         "\xE6"
         "a\x8D",
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(profiletext::Utf16BytesOfUtf8(c.utf8, Encoding::Utf16LittleEndian),
                  c.littleEndian);
        std::optional<std::string> bigEndian = c.littleEndian;
        for (std::size_t at = 0; bigEndian && at < bigEndian->size(); at += 2)
            std::swap((*bigEndian)[at], (*bigEndian)[at + 1]);
        EXPECT_EQ(profiletext::Utf16BytesOfUtf8(c.utf8, Encoding::Utf16BigEndian), bigEndian);
    }
}

} // namespace
