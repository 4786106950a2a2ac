// The engine as a pure JavaScript TDS client (no FreeTDS code at all) sees it.
#include "tests/support/EngineProcess.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing_support::EngineProcess;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

TEST(TediousClient, RunsEveryCallOfItsTable) {
    EngineProcess engine;
    const auto result =
        RunCommand("node " + ShellQuoted(TEDIOUS_CALLS) + " " + ShellQuoted(TEDIOUS_FOLDER) + " " +
                   std::to_string(engine.Port()) + " off 2>&1");
    ASSERT_EQ(0, result.exitCode) << result.output;
    const char* expected[] = {
        R"(login: ok ["7_4"])",
        R"(SELECT 1 as RPC: ok [1])",
        R"(batch: ok ["text","master","tempdb","model","msdb"])",
        R"(RPC with parameters: ok [42,"héllo"])",
        R"(prepare, execute, unprepare: ok [true,7])",
        R"(SET options: ok [0])",
        R"(begin transaction: ok [1])",
        R"(commit: ok [0])",
        R"(rollback: ok [0])",
        "unsupported statement: error Keyword or statement option 'DROP' is not supported in "
        "this version of SQL Server.",
        R"(cancel before sending: ok ["ECANCEL"])",
        R"(cancel while running: ok ["ECANCEL"])",
        R"(usable after cancel: ok [2])",
        R"(timeout: error ETIMEOUT)",
        R"(usable after timeout: ok [3])",
    };
    std::istringstream lines(result.output);
    for (const char* line : expected) {
        std::string got;
        std::getline(lines, got);
        EXPECT_EQ(line, got);
    }
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

} // namespace
