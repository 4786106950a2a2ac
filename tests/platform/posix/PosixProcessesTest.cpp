#include "platform/posix/PosixProcesses.h"
#include "platform/Exception.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitForFile.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

// What the started program wrote, once it is there.
std::string Report(const fs::path& file) {
    EXPECT_TRUE(testing_support::WaitForFile(file, std::chrono::seconds(5))) << file;
    return TempDir::Read(file);
}

class PosixProcessesTest : public testing::Test {
protected:
    void SetUp() override { fs::current_path(dist); }
    void TearDown() override { fs::current_path(m_start); }

    TempDir temp;
    fs::path dist = temp.Write("安装 it's/placeholder", "").parent_path();
    platform::PosixProcesses processes;

private:
    fs::path m_start = fs::current_path();
};

// The started program reports its current directory, its session and where
// its standard streams go.
const char* reporter = "#!/bin/sh\n"
                       "{ pwd; cut -d' ' -f6 /proc/$$/stat; readlink /proc/$$/fd/0;\n"
                       "  readlink /proc/$$/fd/2; } > report.tmp && mv report.tmp report\n";

TEST_F(PosixProcessesTest, StartsTheProgramHiddenAndDetached) {
    const auto program = temp.Write("安装 it's/MSSQL.exe", reporter);
    fs::permissions(program, fs::perms::owner_all);
    processes.WinExec("MSSQL.exe");
    std::istringstream report(Report(dist / "report"));
    std::string directory, session, input, output;
    std::getline(report, directory);
    std::getline(report, session);
    std::getline(report, input);
    std::getline(report, output);
    EXPECT_EQ(directory, dist.string());
    EXPECT_NE(session, std::to_string(getsid(0)));
    EXPECT_EQ(input, "/dev/null");
    EXPECT_EQ(output, "/dev/null");
}

TEST_F(PosixProcessesTest, RunsBatchFilesThroughTheShell) {
    temp.Write("安装 it's/start.bat",
               "echo started > report.tmp && mv report.tmp report\n"); // not executable
    processes.WinExec("start.bat");
    EXPECT_EQ(Report(dist / "report"), "started\n");
}

TEST_F(PosixProcessesTest, ProgramThatCannotStartRaises) {
    const auto plain = temp.Write("安装 it's/plain.exe", "#!/bin/sh\n");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    const std::pair<std::string, std::string> cases[] = {
        {"MSSQL.exe", "无法启动程序“MSSQL.exe”：No such file or directory"},
        {"plain.exe", "无法启动程序“plain.exe”：Permission denied"},
    };
    for (const auto& [name, message] : cases) {
        try {
            processes.WinExec(name);
            ADD_FAILURE() << name << " started";
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

} // namespace
