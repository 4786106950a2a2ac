// The engine as a pure JavaScript TDS client (no FreeTDS code at all) sees it.
#include "tests/support/EngineProcess.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing_support::EngineProcess;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

std::string Calls(std::uint16_t port, const char* encryption) {
    const auto result = RunCommand("node --no-deprecation " + ShellQuoted(TEDIOUS_CALLS) + " " +
                                   ShellQuoted(TEDIOUS_FOLDER) + " " + std::to_string(port) + " " +
                                   encryption + " 2>&1");
    EXPECT_EQ(0, result.exitCode) << result.output;
    return result.output;
}

TEST(TediousClient, RunsEveryCallOfItsTableEncryptedOrNot) {
    EngineProcess engine;
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
    for (const char* encryption : {"default", "off"}) {
        std::istringstream lines(Calls(engine.Port(), encryption));
        for (const char* line : expected) {
            std::string got;
            std::getline(lines, got);
            EXPECT_EQ(line, got) << encryption;
        }
    }
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

TEST(TediousClient, ReallyEncrypts) {
    // Only a TLS handshake shows the client the certificate it then refuses.
    EngineProcess engine;
    EXPECT_NE(std::string::npos, Calls(engine.Port(), "verify").find("self-signed certificate"));
}

} // namespace
