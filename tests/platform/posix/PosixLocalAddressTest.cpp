#include "platform/posix/PosixLocalAddress.h"

#include "platform/Exception.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/HostsFile.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using testing_support::EnvironmentVariable;

std::string ErrorOf(const std::string& computerName) {
    EnvironmentVariable name("COMPUTERNAME", computerName);
    try {
        platform::PosixLocalAddress().LocalIP();
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "no error";
}

TEST(PosixLocalAddress, GivesTheFirstIpv4AddressOfTheComputerName) {
    if (!testing_support::HostsFileMapsToLoopback("localhost"))
        GTEST_SKIP() << "localhost is not in /etc/hosts: resolving it could ask a DNS server";
    EnvironmentVariable name("COMPUTERNAME", "localhost");
    EXPECT_EQ(platform::PosixLocalAddress().LocalIP(), "127.0.0.1");
}

TEST(PosixLocalAddress, UnresolvableNameRaisesWithTheName) {
    // A label longer than DNS allows fails in the resolver itself, so no query leaves
    // this computer.
    const std::string name(70, 'x');
    EXPECT_EQ(ErrorOf(name).rfind("无法解析本计算机的名称“" + name + "”：", 0), 0u)
        << ErrorOf(name);
}

TEST(PosixLocalAddress, NameWithOnlyIpv6AddressesRaises) {
    EXPECT_EQ(ErrorOf("::1"), "本计算机的名称“::1”解析不出 IPv4 地址");
}

} // namespace
