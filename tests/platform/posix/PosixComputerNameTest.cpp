#include "platform/posix/PosixComputerName.h"

#include <cctype>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(PosixComputerName, TakesTheWindowsVariableFirst) {
    setenv("COMPUTERNAME", "服务器 1", 1);
    EXPECT_EQ(platform::PosixComputerName().GetComputerNameA(), "服务器 1");
    unsetenv("COMPUTERNAME");
}

TEST(PosixComputerName, OtherwiseTheHostNamesFirstLabelInUpperCase) {
    unsetenv("COMPUTERNAME");
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    std::string expected(host);
    expected = expected.substr(0, expected.find('.')).substr(0, 15);
    for (char& c : expected)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(platform::PosixComputerName().GetComputerNameA(), expected);
}

} // namespace
