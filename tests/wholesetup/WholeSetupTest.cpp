// The whole setup on this host's real components: the distribution's own programs, the
// stand-in engine they install, FreeTDS over loopback and the real files. Only the
// waits are virtual, and the boxes are recorded instead of shown.
#include "mainwindow/TForm1.h"
#include "platform/freetds/FreeTdsDatabaseCommand.h"
#include "platform/posix/CodePage936.h"
#include "platform/posix/PosixComputerName.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixLocalAddress.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/PosixProfileStore.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/Privileges.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tsql.h"
#include "tests/support/WaitForFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using testing_support::FakePlatform;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

// Whether a script started from the folder (MSSQL.exe, start.bat, or the engine.sh they
// hand over to) still runs there.
bool ScriptRunsIn(const fs::path& folder) {
    const fs::path wanted = fs::canonical(folder);
    std::error_code error;
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        std::error_code gone;
        if (fs::read_symlink(process.path() / "cwd", gone) != wanted)
            continue;
        std::ifstream in(process.path() / "cmdline", std::ios::binary);
        std::string program;
        std::getline(in, program, '\0');
        if (program == "/bin/sh")
            return true;
    }
    return false;
}

// Records each wait and lets the started program finish instead of sleeping: the
// engine's setup is done once its port file is there and the script has ended. A start
// script still running could otherwise start the engine again after a test stopped it.
class ProgramWaitingClock : public platform::Clock {
public:
    ProgramWaitingClock(fs::path portFile, fs::path dist)
        : m_portFile(std::move(portFile)), m_dist(std::move(dist)) {}
    void Sleep(unsigned milliseconds) override {
        waits.push_back(milliseconds);
        testing_support::WaitForFile(m_portFile);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (ScriptRunsIn(m_dist) && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<unsigned> waits;

private:
    fs::path m_portFile;
    fs::path m_dist;
};

// Passes every command to the real one and keeps the two strings it was given.
class RecordingDatabase : public platform::DatabaseCommand {
public:
    void Execute(const std::string& connection, const std::string& text) override {
        sent.push_back(connection + " | " + text);
        m_real.Execute(connection, text);
    }
    std::vector<std::string> sent;

private:
    platform::FreeTdsDatabaseCommand m_real;
};

std::string Gbk(const std::string& utf8) {
    return platform::ToCodePage936(utf8).value();
}

class WholeSetup : public testing::Test {
protected:
    WholeSetup() {
        fs::copy(LAUNCHER_DISTRIBUTION, dist, fs::copy_options::recursive);
        fs::create_directories(driveC);
        fake.exeName = drives.WindowsPath((dist / "launcher").string());
    }

    ~WholeSetup() override {
        StopEngine();
        fs::current_path(m_start);
    }

    platform::Platform Components() {
        platform::Platform& f = fake.Components();
        return {f.application, clock,   computerName, database, files,
                localAddress,  f.boxes, processes,    profiles, f.shell};
    }

    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const auto& entry : fake.journal)
            if (entry.rfind("message ", 0) == 0 || entry.rfind("error ", 0) == 0)
                boxes.push_back(entry);
        return boxes;
    }

    std::string Databases() const {
        const int port = std::stoi(TempDir::Read(instance / "engine.port"));
        return testing_support::RunTsql(static_cast<std::uint16_t>(port),
                                        "SELECT name FROM sys.databases\ngo\n");
    }

    void StopEngine() const {
        testing_support::RunCommand("cd " + testing_support::ShellQuoted(dist) +
                                    " && ./stop-engine.sh");
    }

    TempDir temp;
    fs::path dist = temp / "演示 it's 安装目录";
    fs::path driveC = temp / "drive_c";
    testing_support::EnvironmentVariable driveCVariable{"LAUNCHER_DRIVE_C", driveC.string()};
    // The instance is reached by this computer's name: an address, so that resolving it
    // asks nobody and every byte stays on loopback.
    testing_support::EnvironmentVariable computerNameVariable{"COMPUTERNAME", "127.0.0.1"};
    fs::path instance = driveC / "Program Files/Database Engine/home";
    fs::path clientFolder = driveC / "Program Files/蔚檀";
    platform::DriveMap drives{driveC.string()};
    FakePlatform fake;
    ProgramWaitingClock clock{instance / "engine.port", dist};
    platform::PosixComputerName computerName;
    RecordingDatabase database;
    platform::PosixFileSystem files{drives};
    platform::PosixLocalAddress localAddress;
    platform::PosixProcesses processes;
    platform::PosixProfileStore profiles{drives};

private:
    fs::path m_start = fs::current_path();
};

TEST_F(WholeSetup, FromTheFirstClickToTheClientsConfiguration) {
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    form.Click("BitBtn4");

    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "message 第一步成功完成！", "message 第二步成功完成！",
                           "message 第三步成功完成！", "message 现在您可以安装客户端了！"}));
    EXPECT_EQ(clock.waits, (std::vector<unsigned>{90000, 30000}));
    EXPECT_FALSE(form.BitBtn4.Enabled());
    EXPECT_TRUE(form.BitBtn1.Enabled());
    EXPECT_EQ(
        TempDir::Read(dist / "hjpz.ini"),
        Gbk("; 蔚檀客户端配置\r\n[服务器ip]\r\n端口=1433\r\nip=127.0.0.1\r\n\r\n"
            "[SQL服务器名称]\r\n服务器名称=127.0.0.1\\HOME\r\n\r\n[数据库]\r\n名称=zabo\r\n"));
    EXPECT_NE(Databases().find("msdb\nzabo\n"), std::string::npos) << Databases();

    form.Click("BitBtn5");
    ASSERT_TRUE(testing_support::WaitForFile(clientFolder / "zabo"));
    form.Click("BitBtn6");
    EXPECT_EQ(TempDir::Read(clientFolder / "hjpz.ini"), TempDir::Read(dist / "hjpz.ini"));
    EXPECT_EQ(Boxes().back(), "message 已完成客户端安装！");
}

TEST_F(WholeSetup, RestoreWithTheEngineStoppedCanBeRepeated) {
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    StopEngine();
    const std::string before = TempDir::Read(dist / "hjpz.ini");

    form.Click("BitBtn4");
    form.Click("BitBtn4");

    ASSERT_EQ(database.sent.size(), 2u);
    EXPECT_EQ(database.sent[0], database.sent[1]);
    EXPECT_TRUE(form.BitBtn4.Enabled());
    EXPECT_FALSE(form.BitBtn1.Enabled());
    ASSERT_EQ(Boxes().size(), 4u);
    EXPECT_NE(Boxes()[2].find("error "), std::string::npos);
    EXPECT_NE(Boxes()[2].find("127.0.0.1\\home"), std::string::npos) << Boxes()[2];
    EXPECT_EQ(TempDir::Read(dist / "hjpz.ini"), before);
}

TEST_F(WholeSetup, ReadOnlyConfigurationFailsAfterTheChainIsDone) {
    fs::permissions(dist / "hjpz.ini", fs::perms::owner_read | fs::perms::group_read);
    const std::string before = TempDir::Read(dist / "hjpz.ini");
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    {
        testing_support::FilePermissionsEnforced asAnOrdinaryUser;
        form.Click("BitBtn4");
    }
    EXPECT_EQ(Boxes().back(),
              "error Unable to write to " + drives.WindowsPath((dist / "hjpz.ini").string()) + ".");
    EXPECT_FALSE(form.BitBtn4.Enabled());
    EXPECT_TRUE(form.BitBtn1.Enabled());
    EXPECT_EQ(TempDir::Read(dist / "hjpz.ini"), before);
}

// Failures of the launch itself are reported at once, and the chain is put back.
TEST_F(WholeSetup, StepsWhoseProgramCannotStart) {
    fs::remove(dist / "MSSQL.exe");
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn2");
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "error 无法启动程序“MSSQL.exe”：No such file or directory."});
    EXPECT_TRUE(clock.waits.empty());
    EXPECT_TRUE(form.BitBtn2.Enabled() && form.BitBtn1.Enabled());

    fs::remove(dist / "zabo.exe");
    form.Click("BitBtn5");
    EXPECT_EQ(Boxes().back(), "error 无法启动程序“zabo.exe”：No such file or directory.");
}

TEST_F(WholeSetup, StepOneWithoutDriveC) {
    fs::remove_all(driveC);
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn2");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"error Invalid filename."});
    EXPECT_TRUE(form.BitBtn2.Enabled() && form.BitBtn1.Enabled());
}

TEST_F(WholeSetup, ConfigurationCopyOnlyWhereTheClientIs) {
    auto components = Components();
    TForm1 form(components);
    form.Click("BitBtn6");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"error 无法将“hjpz.ini”复制到“c:\\Program "
                                                "Files\\蔚檀\\hjpz.ini”：c:\\Program "
                                                "Files\\蔚檀: No such file or directory."});

    // A configuration already in the client's folder is kept, and the step is done.
    fs::create_directories(clientFolder);
    std::FILE* existing = std::fopen((clientFolder / "hjpz.ini").c_str(), "w");
    std::fputs("kept", existing);
    std::fclose(existing);
    form.Click("BitBtn6");
    EXPECT_EQ(Boxes().back(), "message 已完成客户端安装！");
    EXPECT_EQ(TempDir::Read(clientFolder / "hjpz.ini"), "kept");
}

} // namespace
