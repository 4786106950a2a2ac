// The ODBC command's 15 s login timeout against a server that takes the connection and never
// answers. It takes that long by nature, so it carries the ctest label "slow".
#include "platform/win32/OdbcDatabaseCommand.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/Sockets.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

TEST(OdbcLoginTimeout, GivesUpOnAServerThatNeverAnswers) {
    // Listening, never accepting: the system completes the connection and nothing answers.
    std::uint16_t port = 0;
    const platform::SocketHandle silent =
        platform::BindSocket("127.0.0.1", 0, platform::SocketKind::Stream, port);
    const std::string source = "127.0.0.1," + std::to_string(port);
    const auto started = std::chrono::steady_clock::now();
    std::string error = "no error";
    try {
        platform::win32::OdbcDatabaseCommand().Execute(
            "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
            "Initial Catalog=master;Data Source=" +
                source,
            "SELECT 1");
    } catch (const platform::Exception& raised) {
        error = raised.what();
    }
    const auto took = std::chrono::steady_clock::now() - started;
    platform::CloseSocket(silent);
    EXPECT_EQ(error, platform::messages::CannotConnect(
                         source, "Timeout expired; Unable to connect to data source"));
    EXPECT_GE(took, std::chrono::seconds(14));
    EXPECT_LT(took, std::chrono::seconds(30));
}

} // namespace
