#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ComputerName.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LocalAddress.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Shell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitForFile.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace platform::win32;
using testing_support::TempDir;
using testing_support::WaitForFile;

std::string Utf8(const fs::path& path) {
    return Narrow(path.wstring());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const fs::path& path) {
    return TempDir::Read(path);
}

// The marker program, built beside this test.
fs::path MarkerProgram() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / "marker_program.exe";
}

// Restores the process's current directory, which the tests change.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept() : m_directory(fs::current_path()) {}
    ~CurrentDirectoryKept() { fs::current_path(m_directory); }

private:
    fs::path m_directory;
};

TEST(Win32ComputerName, IsTheNameWindowsKeeps) {
    wchar_t expected[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"COMPUTERNAME", expected, 64);
    ASSERT_GT(length, 0u) << "Windows sets COMPUTERNAME for every process";
    EXPECT_EQ(Win32ComputerName().GetComputerNameA(), Narrow(std::wstring(expected, length)));
}

TEST(Win32LocalAddress, IsAnIpv4AddressOfThisComputer) {
    std::string address;
    try {
        address = Win32LocalAddress().LocalIP();
    } catch (const platform::Exception& error) {
        GTEST_SKIP() << "this computer's name does not resolve here: " << error.what();
    }
    in_addr parsed{};
    EXPECT_EQ(::inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
}

TEST(Win32Clock, WaitsAtLeastTheTimeGiven) {
    const auto start = std::chrono::steady_clock::now();
    Win32Clock().Sleep(50);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

TEST(Win32FileSystem, ChangesDirectoryOrRaisesTheRunTimeError) {
    TempDir dir;
    WriteFile(dir / "file", "x");
    fs::create_directories(dir.Path() / L"中文 目录");
    const CurrentDirectoryKept kept;
    Win32FileSystem files;

    files.ChDir(Utf8(dir.Path() / L"中文 目录"));
    EXPECT_EQ(fs::current_path(), dir.Path() / L"中文 目录");

    const struct {
        const char* what;
        std::string directory;
        int code;
        const char* text;
    } failures[] = {
        {"missing folder", Utf8(dir / "missing"), 2, "File not found"},
        {"missing parent", Utf8(dir / "missing" / "deeper"), 3, "Invalid filename"},
        {"a file", Utf8(dir / "file"), 267, "I/O error 267"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.what);
        try {
            files.ChDir(failure.directory);
            ADD_FAILURE() << "no exception";
        } catch (const platform::EInOutError& error) {
            EXPECT_EQ(error.ErrorCode(), failure.code);
            EXPECT_STREQ(error.what(), failure.text);
        }
        EXPECT_EQ(fs::current_path(), dir.Path() / L"中文 目录");
    }
}

TEST(Win32FileSystem, CopiesUnlessTheDestinationExists) {
    TempDir dir;
    WriteFile(dir / "hjpz.ini", "new");
    const CurrentDirectoryKept kept;
    fs::current_path(dir.Path());
    const fs::path destination = dir.Path() / L"蔚檀" / "hjpz.ini";
    fs::create_directories(destination.parent_path());
    Win32FileSystem files;

    EXPECT_EQ(files.CopyFileFailIfExists("hjpz.ini", Utf8(destination)).outcome,
              platform::CopyOutcome::Copied);
    EXPECT_EQ(ReadFile(destination), "new");

    WriteFile(destination, "old");
    EXPECT_EQ(files.CopyFileFailIfExists("hjpz.ini", Utf8(destination)).outcome,
              platform::CopyOutcome::DestinationExists);
    EXPECT_EQ(ReadFile(destination), "old");

    const auto missingSource = files.CopyFileFailIfExists("absent.ini", Utf8(dir / "copy.ini"));
    EXPECT_EQ(missingSource.outcome, platform::CopyOutcome::Failed);
    EXPECT_NE(missingSource.reason.find("CopyFileW"), std::string::npos) << missingSource.reason;
    EXPECT_EQ(files.CopyFileFailIfExists("hjpz.ini", Utf8(dir / "missing" / "hjpz.ini")).outcome,
              platform::CopyOutcome::Failed);
}

class Win32ProcessesTest : public ::testing::Test {
protected:
    // The distribution's folder, with a blank and Chinese characters in its name.
    fs::path Distribution() const { return m_dir.Path() / L"安装 目录"; }

    TempDir m_dir;
    CurrentDirectoryKept m_kept;
    Win32Processes m_processes;
};

TEST_F(Win32ProcessesTest, StartsAProgramOfTheCurrentDirectory) {
    fs::create_directories(Distribution());
    fs::copy_file(MarkerProgram(), Distribution() / "MSSQL.exe");
    fs::current_path(Distribution());
    m_processes.WinExec("MSSQL.exe");
    ASSERT_TRUE(WaitForFile(Distribution() / "MSSQL.exe.ran"));
    const std::string started = ReadFile(Distribution() / "MSSQL.exe.ran");
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(started.data()),
                           started.size() / sizeof(wchar_t)),
              Distribution().wstring());
}

// cmd takes a bare "start.bat" for its own start command; the script must run all the same.
TEST_F(Win32ProcessesTest, RunsABatchFileThroughTheCommandInterpreter) {
    fs::create_directories(Distribution());
    WriteFile(Distribution() / "start.bat", "@echo ran> \"%~dp0started.txt\"\r\n");
    fs::current_path(Distribution());
    m_processes.WinExec("start.bat");
    ASSERT_TRUE(WaitForFile(Distribution() / "started.txt"));
}

TEST_F(Win32ProcessesTest, RaisesNamingTheProgramThatCannotStart) {
    fs::create_directories(Distribution());
    fs::current_path(Distribution());
    try {
        m_processes.WinExec("zabo.exe");
        ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind(platform::messages::CannotStart("zabo.exe", ""), 0), 0u)
            << error.what();
    }
}

TEST(Win32Shell, AMissingDocumentIsNotReported) {
    TempDir dir;
    const CurrentDirectoryKept kept;
    fs::current_path(dir.Path());
    EXPECT_NO_THROW(Win32Shell().OpenDocument("设置固定IP地址.mht"));
}

} // namespace
