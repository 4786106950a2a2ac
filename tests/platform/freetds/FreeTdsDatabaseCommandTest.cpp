#include "platform/freetds/FreeTdsDatabaseCommand.h"

#include "platform/Exception.h"

#include <string>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string administrator = "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;"
                                  "User ID=sa;Initial Catalog=master;Data Source=";

std::string ErrorOf(const std::string& dataSource, const std::string& command) {
    try {
        platform::FreeTdsDatabaseCommand().Execute(administrator + dataSource, command);
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "no error";
}

// A loopback TCP port that nothing listens on: bound to find a free one, then closed.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

TEST(FreeTdsDatabaseCommand, RefusedPortNamesTheDataSource) {
    const std::string source = "127.0.0.1," + std::to_string(ClosedPort());
    const std::string error = ErrorOf(source, "SELECT 1");
    EXPECT_EQ(error.rfind("Cannot connect to SQL Server '" + source + "': ", 0), 0u) << error;
}

TEST(FreeTdsDatabaseCommand, NoBrowserSaysSo) {
    EXPECT_EQ(ErrorOf("127.0.0.1\\home", "SELECT 1"),
              "Cannot connect to SQL Server '127.0.0.1\\home': no SQL Server Browser answered "
              "for instance 'home' on 127.0.0.1");
}

} // namespace
