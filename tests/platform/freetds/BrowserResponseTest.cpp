#include "platform/freetds/BrowserResponse.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::browser;

std::string Response(const std::string& data) {
    std::string datagram{'\x05', static_cast<char>(data.size() & 0xff),
                         static_cast<char>(data.size() >> 8)};
    return datagram + data;
}

TEST(BrowserResponse, RequestIsTypeNameAndNul) {
    EXPECT_EQ(InstanceRequest("home"), std::string("\x04home\0", 6));
}

TEST(BrowserResponse, ListsEveryInstanceWithItsTcpPort) {
    const std::string data =
        "ServerName;PC;InstanceName;MSSQLSERVER;IsClustered;No;Version;8.00.194;tcp;1433;np;"
        "\\\\PC\\pipe\\sql\\query;;"
        "ServerName;PC;InstanceName;HOME;IsClustered;No;Version;8.00.194;np;\\\\PC\\pipe\\MSSQL$"
        "HOME\\sql\\query;tcp;50123;;"
        "ServerName;PC;InstanceName;PIPES;IsClustered;No;Version;8.00.194;;";
    const auto instances = ParseResponse(Response(data));
    ASSERT_TRUE(instances);
    ASSERT_EQ(instances->size(), 3u);

    const ServerInstance* home = FindInstance(*instances, "home");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->serverName, "PC");
    EXPECT_EQ(home->tcpPort, 50123);
    EXPECT_EQ(FindInstance(*instances, "mssqlserver")->tcpPort, 1433);
    EXPECT_FALSE(FindInstance(*instances, "PIPES")->tcpPort);
    EXPECT_EQ(FindInstance(*instances, "other"), nullptr);
}

TEST(BrowserResponse, ReadsOnlyTheDeclaredLength) {
    const std::string data = "InstanceName;home;tcp;1500;;";
    const auto instances = ParseResponse(Response(data) + "InstanceName;late;tcp;1;;");
    ASSERT_TRUE(instances);
    ASSERT_EQ(instances->size(), 1u);
    EXPECT_EQ(instances->front().tcpPort, 1500);
}

TEST(BrowserResponse, RejectsWhatIsNotAnAnswer) {
    const std::string data = "InstanceName;home;tcp;1500;;";
    EXPECT_FALSE(ParseResponse(""));
    EXPECT_FALSE(ParseResponse("\x05\x01"));
    EXPECT_FALSE(ParseResponse(InstanceRequest("home")));
    EXPECT_FALSE(ParseResponse(Response(data).substr(0, 10))); // shorter than declared
}

TEST(BrowserResponse, PortThatIsNoPortCountsAsNoTcp) {
    for (const char* port : {"", "0", "65536", "12ab"}) {
        const auto instances =
            ParseResponse(Response(std::string("InstanceName;home;tcp;") + port + ";;"));
        ASSERT_TRUE(instances) << port;
        EXPECT_FALSE(instances->front().tcpPort) << port;
    }
}

} // namespace
