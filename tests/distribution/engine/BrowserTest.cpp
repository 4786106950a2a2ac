#include "distribution/engine/Browser.h"

#include <gtest/gtest.h>

namespace {

using engine::BrowserAnswer;
using engine::Bytes;

const engine::BrowserInstance home{"VM", "home", "15.0.2000.5", 50123};

Bytes Request(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(Browser, AnswersForItsInstanceInAnyCase) {
    const std::string data =
        "ServerName;VM;InstanceName;home;IsClustered;No;Version;15.0.2000.5;tcp;50123;;";
    Bytes expected = {0x05, static_cast<std::uint8_t>(data.size()), 0};
    expected.insert(expected.end(), data.begin(), data.end());
    for (const std::string& request :
         {std::string("\x04home\0", 6), std::string("\x04HoMe\0", 6), std::string("\x04home"),
          std::string("\x02"), std::string("\x03")})
        EXPECT_EQ(expected, BrowserAnswer(Request(request), home)) << request;
}

TEST(Browser, StaysSilentForAnythingElse) {
    for (const std::string& request :
         {std::string(""), std::string("\x04other\0", 7), std::string("\x04\0", 2),
          std::string("\x04hom"), std::string("\x0F\x01home\0", 7)})
        EXPECT_FALSE(BrowserAnswer(Request(request), home)) << request;
}

} // namespace
