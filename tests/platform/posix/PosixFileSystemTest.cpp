#include "platform/posix/PosixFileSystem.h"
#include "platform/Exception.h"
#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

// Restores the test process's current directory, which ChDir changes.
class PosixFileSystemTest : public testing::Test {
protected:
    void TearDown() override { fs::current_path(m_start); }

    TempDir temp;
    fs::path driveC = temp / "drive_c";
    platform::PosixFileSystem files{platform::DriveMap(driveC.string())};

private:
    fs::path m_start = fs::current_path();
};

std::string IoError(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::EInOutError& error) {
        return error.what();
    }
    return "no error";
}

TEST_F(PosixFileSystemTest, ChDirEntersMappedDirectories) {
    fs::create_directories(driveC / "安装 it's");
    files.ChDir("c:\\");
    EXPECT_EQ(fs::current_path(), driveC);
    files.ChDir("C:\\安装 it's");
    EXPECT_EQ(fs::current_path(), driveC / "安装 it's");
    files.ChDir("Z:" + temp.Path().string());
    EXPECT_EQ(fs::current_path(), temp.Path());
}

TEST_F(PosixFileSystemTest, ChDirFailuresCarryTheWindowsCode) {
    // Drive C is not there yet: the first change fails as on a machine without drive C.
    EXPECT_EQ(IoError([&] { files.ChDir("c:\\"); }), "Invalid filename");
    fs::create_directories(driveC / "denied");
    temp.Write("drive_c/file", "x");
    const std::pair<std::string, std::string> cases[] = {
        {"c:\\missing", "File not found"},
        {"c:\\missing\\deeper", "Invalid filename"},
        {"e:\\setup", "Invalid filename"},
        {"c:\\file", "I/O error 267"},
    };
    // Not a structured binding: Clang 14 cannot capture one in a lambda.
    for (const auto& c : cases)
        EXPECT_EQ(IoError([&] { files.ChDir(c.first); }), c.second) << c.first;

    fs::permissions(driveC / "denied", fs::perms::none);
    testing_support::FilePermissionsEnforced asAnOrdinaryUser;
    EXPECT_EQ(IoError([&] { files.ChDir("c:\\denied"); }), "File access denied");
}

TEST_F(PosixFileSystemTest, ChDirIntoAnUnreadableDriveC) {
    fs::create_directories(driveC);
    fs::permissions(driveC, fs::perms::none);
    testing_support::FilePermissionsEnforced asAnOrdinaryUser;
    EXPECT_EQ(IoError([&] { files.ChDir("c:\\"); }), "File access denied");
}

TEST_F(PosixFileSystemTest, CopyPlacesTheFileOnlyWhereNoneIs) {
    const auto source = temp.Write("dist/hjpz.ini", "[a]\r\nb=c\r\n");
    fs::create_directories(driveC / "Program Files/蔚檀");
    fs::current_path(source.parent_path());
    const std::string destination = "c:\\Program Files\\蔚檀\\hjpz.ini";

    auto first = files.CopyFileFailIfExists("hjpz.ini", destination);
    EXPECT_EQ(first.outcome, platform::CopyOutcome::Copied);
    EXPECT_EQ(TempDir::Read(driveC / "Program Files/蔚檀/hjpz.ini"), "[a]\r\nb=c\r\n");

    temp.Write("dist/hjpz.ini", "changed");
    auto second = files.CopyFileFailIfExists("hjpz.ini", destination);
    EXPECT_EQ(second.outcome, platform::CopyOutcome::DestinationExists);
    EXPECT_EQ(TempDir::Read(driveC / "Program Files/蔚檀/hjpz.ini"), "[a]\r\nb=c\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(driveC / "Program Files/蔚檀"), {}), 1);
}

TEST_F(PosixFileSystemTest, CopyFailuresNameWhatFailed) {
    temp.Write("dist/hjpz.ini", "x");
    fs::create_directories(driveC / "Program Files/denied");
    fs::current_path(temp / "dist");
    fs::permissions(driveC / "Program Files/denied", fs::perms::owner_read | fs::perms::owner_exec);
    testing_support::FilePermissionsEnforced asAnOrdinaryUser;
    struct Case {
        std::string source, destination, reason;
    };
    const Case cases[] = {
        {"missing.ini", "c:\\Program Files\\x.ini", "missing.ini: No such file or directory"},
        {"hjpz.ini", "c:\\Program Files\\蔚檀\\hjpz.ini",
         "c:\\Program Files\\蔚檀: No such file or directory"},
        {"hjpz.ini", "c:\\Program Files\\denied\\hjpz.ini",
         "c:\\Program Files\\denied: Permission denied"},
        {"hjpz.ini", "q:\\hjpz.ini", "q:\\hjpz.ini: No such file or directory"},
    };
    for (const auto& c : cases) {
        const auto result = files.CopyFileFailIfExists(c.source, c.destination);
        EXPECT_EQ(result.outcome, platform::CopyOutcome::Failed) << c.destination;
        EXPECT_EQ(result.reason, c.reason);
    }
    EXPECT_TRUE(fs::is_empty(driveC / "Program Files/denied"));
}

} // namespace
