#include "tests/support/EngineProcess.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tsql.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using testing::HasSubstr;
using testing_support::EngineProcess;
using testing_support::EnvironmentVariable;
using testing_support::RunCommand;
using testing_support::RunTsql;
using testing_support::ShellQuoted;
using testing_support::TempDir;

// A distribution directory with the engine's files, and drive C in a scratch folder.
class Scripts : public testing::Test {
protected:
    Scripts() {
        std::filesystem::create_directories(m_root / "dist/engine");
        std::filesystem::copy_file(EngineProcess::BinaryPath(), m_root / "dist/engine/tdsengine");
        for (const char* script : {"MSSQL.exe", "start.bat", "stop-engine.sh"})
            std::filesystem::copy_file(std::filesystem::path(DISTRIBUTION_FILES) / script,
                                       m_root / "dist" / script);
        std::filesystem::copy_file(ZABO_BACKUP, m_root / "dist/zabo.bak");
    }
    ~Scripts() override { Run("./stop-engine.sh"); }

    // Runs a script of the distribution as the launcher does: from its directory, through
    // /bin/sh, with no standard streams.
    int Run(const std::string& script) const {
        return RunCommand("cd " + ShellQuoted(m_root / "dist") + " && /bin/sh " + script +
                          " </dev/null >/dev/null 2>&1 <&-")
            .exitCode;
    }

    std::filesystem::path InstanceFile(const std::string& name) const {
        return m_root / "c/Program Files/Database Engine/home" / name;
    }

    std::uint16_t Port() const {
        return static_cast<std::uint16_t>(std::stoi(TempDir::Read(InstanceFile("engine.port"))));
    }
    std::string Pid() const { return TempDir::Read(InstanceFile("engine.pid")); }

    TempDir m_root;
    EnvironmentVariable m_driveC{"LAUNCHER_DRIVE_C", (m_root / "c").string()};
};

TEST_F(Scripts, ClientSetupInstallsOnlyAClientItHas) {
    const std::filesystem::path dist = m_root / "dist";
    const std::filesystem::path folder = m_root / "c/Program Files/蔚檀";
    std::filesystem::copy_file(std::filesystem::path(DISTRIBUTION_FILES) / "zabo.exe",
                               dist / "zabo.exe");
    EXPECT_NE(0, Run("zabo.exe"));
    EXPECT_FALSE(std::filesystem::exists(folder)) << "a client folder without its client";

    std::filesystem::create_directories(dist / "client");
    std::filesystem::copy_file(std::filesystem::path(DISTRIBUTION_FILES) / "client/zabo",
                               dist / "client/zabo");
    EXPECT_EQ(0, Run("zabo.exe"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "zabo"));
}

TEST_F(Scripts, SetupInstallsAndStartsTheInstanceOnce) {
    ASSERT_EQ(0, Run("MSSQL.exe"));
    const std::string pid = Pid();
    ASSERT_EQ(0, Run("MSSQL.exe"));
    ASSERT_EQ(0, Run("start.bat"));
    EXPECT_EQ(pid, Pid());
    EXPECT_THAT(RunTsql(Port(), "select @@version\ngo\n"), HasSubstr("Stand-in database engine"));
}

TEST_F(Scripts, FreeTdsFindsTheInstanceThroughTheBrowser) {
    ASSERT_EQ(0, Run("MSSQL.exe"));
    const auto config =
        m_root.Write("freetds.conf", "[homeinstance]\n\thost = 127.0.0.1\n\tinstance = HOME\n");
    const std::string output =
        RunCommand("FREETDSCONF=" + ShellQuoted(config) +
                   " timeout 30 tsql -S homeinstance -U sa -P tulip 2>&1 <<'EOF'\n"
                   "SELECT name FROM sys.databases\ngo\nexit\nEOF")
            .output;
    EXPECT_THAT(output, HasSubstr("master\ntempdb\nmodel\nmsdb\n"));
}

TEST_F(Scripts, StopAndStartKeepTheRestoredDatabase) {
    ASSERT_EQ(0, Run("MSSQL.exe"));
    const std::string restore =
        " RESTORE DATABASE zabo FROM disk = 'Z:" + (m_root / "dist/zabo.bak").string() + "'\ngo\n";
    EXPECT_THAT(RunTsql(Port(), restore), HasSubstr("RESTORE DATABASE successfully processed"));
    ASSERT_EQ(0, Run("stop-engine.sh"));
    EXPECT_FALSE(std::filesystem::exists(InstanceFile("engine.pid")));
    ASSERT_EQ(0, Run("start.bat"));
    EXPECT_THAT(RunTsql(Port(), "SELECT name FROM sys.databases\ngo\n"), HasSubstr("msdb\nzabo\n"));
}

} // namespace
