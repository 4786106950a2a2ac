#include "platform/ProfileText.h"
#include "tests/platform/ProfileCases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

namespace profiletext = platform::profiletext;
using namespace profile_cases;

std::optional<profiletext::Splice> Edit(const Case& c) {
    const std::string value = ValueFor(c.before);
    switch (c.op) {
    case Op::DeleteKey:
        return profiletext::DeleteKey(c.before, c.section, c.key);
    case Op::EraseSection:
        return profiletext::EraseSection(c.before, c.section);
    case Op::WriteString:
        return profiletext::WriteString(c.before, c.section, c.key, value);
    }
    return std::nullopt;
}

std::optional<std::string> Edited(const Case& c) {
    const std::optional<profiletext::Splice> splice = Edit(c);
    if (!splice)
        return std::nullopt;
    return profiletext::Applied(c.before, *splice);
}

TEST(ProfileText, EditsAsTheWindowsProfileApiDoes) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Edited(c), c.after);
    }
}

} // namespace
