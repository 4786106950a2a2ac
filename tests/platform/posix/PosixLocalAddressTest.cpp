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
    EXPECT_EQ(ErrorOf(name).rfind("Cannot resolve this computer's name '" + name + "': ", 0), 0u)
        << ErrorOf(name);
}

TEST(PosixLocalAddress, NameWithOnlyIpv6AddressesRaises) {
    EXPECT_EQ(ErrorOf("::1"), "This computer's name '::1' resolves to no IPv4 address");
}

} // namespace
