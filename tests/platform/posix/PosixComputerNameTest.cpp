#include "platform/posix/PosixComputerName.h"
#include "platform/WindowsComputerName.h"
#include "tests/support/EnvironmentVariable.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using testing_support::EnvironmentVariable;

TEST(PosixComputerName, TakesTheWindowsVariableAsItStands) {
    EnvironmentVariable name("COMPUTERNAME", "服务器 1.lan");
    EXPECT_EQ(platform::PosixComputerName().GetComputerNameA(), "服务器 1.lan");
}

TEST(PosixComputerName, OtherwiseTheWindowsNameOfTheHostName) {
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EnvironmentVariable name("COMPUTERNAME", "");
    EXPECT_EQ(platform::PosixComputerName().GetComputerNameA(), platform::WindowsComputerName(host))
        << "COMPUTERNAME empty";
    ::unsetenv("COMPUTERNAME");
    EXPECT_EQ(platform::PosixComputerName().GetComputerNameA(), platform::WindowsComputerName(host))
        << "COMPUTERNAME unset";
}

} // namespace
