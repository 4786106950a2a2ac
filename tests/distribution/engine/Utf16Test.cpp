#include "distribution/engine/Utf16.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Units(const engine::Bytes& bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    return units;
}

// Text from the wire is only echoed back or compared: what is not UTF-8 becomes U+FFFD, one
// per byte that starts no valid sequence, and the rest of the text is kept.
TEST(Utf16, EncodesValidTextAndReplacesEachMalformedByte) {
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string units;
    };
    const std::vector<Case> cases = {
        {"ASCII and Chinese", "ip=蔚檀", u"ip=蔚檀"},
        {"beyond the basic plane", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a stray continuation byte",
         "a\x80"
         "b",
         u"a\uFFFDb"},
        {"an overlong zero", "\xC0\x80", u"\uFFFD\uFFFD"},
        {"a surrogate written as UTF-8", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"a sequence cut short", "x\xE8\x94", u"x\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        const engine::Bytes bytes = engine::Utf8ToUtf16Le(c.utf8);
        EXPECT_EQ(Units(bytes), c.units) << c.name;
        EXPECT_EQ(engine::Utf16Length(c.utf8), c.units.size()) << c.name;
    }
}

} // namespace
