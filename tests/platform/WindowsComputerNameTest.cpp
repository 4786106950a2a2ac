#include "platform/WindowsComputerName.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* hostName;
    std::optional<std::string> computerName;
};

TEST(WindowsComputerName, FirstLabelInUpperCaseAtMostFifteenBytes) {
    const NameCase cases[] = {
        {"server", "SERVER"},
        {"Server-01.example.lan", "SERVER-01"},
        {"a-rather-long-host-name", "A-RATHER-LONG-H"},
        {"exactly15chars.x", "EXACTLY15CHARS"},
        {"sixteen-letters.lan", "SIXTEEN-LETTERS"},
        {"localhost", "LOCALHOST"},
        {"ümlaut", "üMLAUT"},
        {"a服务器服务器.lan", "A服务器服"},
        {"", std::nullopt},
        {".example.lan", std::nullopt},
    };
    for (const auto& [hostName, computerName] : cases)
        EXPECT_EQ(platform::WindowsComputerName(hostName), computerName) << hostName;
}

} // namespace
