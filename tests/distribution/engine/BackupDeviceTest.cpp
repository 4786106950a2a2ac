#include "distribution/engine/BackupDevice.h"

#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using engine::Bytes;
using engine::ReadBackupDevice;
using engine::WindowsError;
using testing_support::TempDir;

int ErrorCode(const std::variant<Bytes, WindowsError>& result) {
    return std::holds_alternative<WindowsError>(result) ? std::get<WindowsError>(result).code : 0;
}

TEST(BackupDevice, ReadsTheWholeFile) {
    const TempDir folder;
    const auto file = folder.Write("zabo.bak", std::string(100000, 'x'));
    const auto result = ReadBackupDevice(file.string());
    ASSERT_TRUE(std::holds_alternative<Bytes>(result));
    EXPECT_EQ(100000u, std::get<Bytes>(result).size());
}

TEST(BackupDevice, GivesTheWindowsErrorOfEachFailure) {
    const TempDir folder;
    const auto locked = folder.Write("locked.bak", "x");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const auto notAFolder = folder.Write("plain", "x");
    // Nobody ever writes to it: opening it for reading the usual way would wait for ever.
    const auto fifo = folder / "fifo.bak";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    const testing_support::FilePermissionsEnforced enforced;
    const struct {
        std::filesystem::path path;
        int code;
    } cases[] = {
        {folder / "missing.bak", 2},
        {folder / "missing/zabo.bak", 3},
        {notAFolder / "zabo.bak", 3},
        {folder.Path(), 5},
        {locked, 5},
        {fifo, 5},
        {"/dev/null", 5},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(entry.code, ErrorCode(ReadBackupDevice(entry.path.string()))) << entry.path;
}

TEST(BackupDevice, WordsErrorsAsTheServerQuotesThem) {
    EXPECT_EQ("2(The system cannot find the file specified.)", engine::WindowsErrorText({2}));
    EXPECT_EQ("3(The system cannot find the path specified.)", engine::WindowsErrorText({3}));
    EXPECT_EQ("5(Access is denied.)", engine::WindowsErrorText({5}));
}

} // namespace
