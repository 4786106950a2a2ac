// The database command's 30 s command timeout against a statement that runs longer. It takes
// that long by nature, so it carries the ctest label "slow".
#include "platform/freetds/FreeTdsDatabaseCommand.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "tests/support/EngineProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

TEST(FreeTdsCommandTimeout, EndsALongStatementWithAClearErrorAndStaysUsable) {
    testing_support::EngineProcess engine;
    const std::string connection =
        "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
        "Initial Catalog=master;Data Source=127.0.0.1," +
        std::to_string(engine.Port());
    platform::FreeTdsDatabaseCommand command;
    const auto started = std::chrono::steady_clock::now();
    std::string error = "no error";
    try {
        command.Execute(connection, "WAITFOR DELAY '00:01:00'");
    } catch (const platform::Exception& raised) {
        error = raised.what();
    }
    const auto took = std::chrono::steady_clock::now() - started;
    // db-lib gives up on the connection after the timeout, and says so.
    EXPECT_EQ(platform::messages::CommandFailed("127.0.0.1," + std::to_string(engine.Port()),
                                                "Adaptive Server connection timed out; DBPROCESS "
                                                "is dead or not enabled"),
              error);
    EXPECT_GE(took, std::chrono::seconds(29));
    EXPECT_LT(took, std::chrono::seconds(45));
    // The engine stopped the statement when it was cancelled, and serves the next one.
    EXPECT_NO_THROW(command.Execute(connection, "SELECT 1"));
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

} // namespace
