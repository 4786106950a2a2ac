#include "platform/posix/PosixLocalAddress.h"

#include "platform/Exception.h"
#include "tests/support/HostsFile.h"

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

// Sets COMPUTERNAME for one test and puts back what was there.
class ComputerNameVariable {
public:
    explicit ComputerNameVariable(const std::string& value) {
        if (const char* old = std::getenv("COMPUTERNAME"))
            m_old = old;
        ::setenv("COMPUTERNAME", value.c_str(), 1);
    }
    ~ComputerNameVariable() {
        if (m_old)
            ::setenv("COMPUTERNAME", m_old->c_str(), 1);
        else
            ::unsetenv("COMPUTERNAME");
    }

private:
    std::optional<std::string> m_old;
};

std::string ErrorOf(const std::string& computerName) {
    ComputerNameVariable name(computerName);
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
    ComputerNameVariable name("localhost");
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
