#include "platform/RunTime.h"
#include "platform/DriveMap.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(RunTime, ExtractFileDirAndPath) {
    struct Case {
        std::string file, dir, path;
    };
    const Case cases[] = {
        {"D:\\setup\\launcher.exe", "D:\\setup", "D:\\setup\\"},
        {"E:\\launcher.exe", "E:\\", "E:\\"},
        {"Z:\\a b\\it's\\安装\\launcher", "Z:\\a b\\it's\\安装", "Z:\\a b\\it's\\安装\\"},
        {"C:launcher.exe", "C:", "C:"},
        {"\\\\server\\share\\launcher.exe", "\\\\server\\share", "\\\\server\\share\\"},
        {"launcher.exe", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ExtractFileDir(c.file), c.dir) << c.file;
        EXPECT_EQ(platform::ExtractFilePath(c.file), c.path) << c.file;
    }
}

TEST(RunTime, QuotedStrDoublesQuotes) {
    EXPECT_EQ(platform::QuotedStr("D:\\setup\\zabo.bak"), "'D:\\setup\\zabo.bak'");
    EXPECT_EQ(platform::QuotedStr("it's 'x'"), "'it''s ''x'''");
    EXPECT_EQ(platform::QuotedStr(""), "''");
}

TEST(RunTime, IoErrorTexts) {
    const std::pair<int, std::string> cases[] = {{2, "File not found"},
                                                 {3, "Invalid filename"},
                                                 {5, "File access denied"},
                                                 {267, "I/O error 267"}};
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(platform::EInOutError(code).what(), text);
        EXPECT_EQ(platform::EInOutError(code).ErrorCode(), code);
    }
}

TEST(RunTime, ErrorReportAppendsAFullStopAfterLaterCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"File not found", "File not found."},
        {"Login failed for user 'sa'.", "Login failed for user 'sa'."},
        {"Unable to write to D:\\setup\\hjpz.ini", "Unable to write to D:\\setup\\hjpz.ini."},
        {"Cannot open (disk)", "Cannot open (disk)"},
        {"done!", "done!"},
        {"无法连接", "无法连接."},
        {"", ""},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(platform::ErrorReportText(message), shown);
}

TEST(DriveMap, MapsDrivesCAndZ) {
    const platform::DriveMap drives("/srv/drive_c/");
    const std::pair<std::string, std::optional<std::string>> toHost[] = {
        {"c:\\", "/srv/drive_c"},
        {"C:\\Program Files\\蔚檀\\hjpz.ini", "/srv/drive_c/Program Files/蔚檀/hjpz.ini"},
        {"z:\\opt\\setup\\launcher", "/opt/setup/launcher"},
        {"Z:/opt//setup\\\\zabo.bak", "/opt/setup/zabo.bak"},
        {"E:\\\\zabo.bak", std::nullopt},
        {"zabo.bak", std::nullopt},
    };
    for (const auto& [windows, host] : toHost)
        EXPECT_EQ(drives.HostPath(windows), host) << windows;

    EXPECT_EQ(drives.WindowsPath("/opt/setup/launcher"), "Z:\\opt\\setup\\launcher");
    EXPECT_EQ(drives.WindowsPath("/srv/drive_c/setup/launcher"), "C:\\setup\\launcher");
    EXPECT_EQ(drives.WindowsPath("/srv/drive_c"), "C:\\");
    EXPECT_EQ(drives.WindowsPath("/srv/drive_cx/launcher"), "Z:\\srv\\drive_cx\\launcher");
}

TEST(DriveMap, NativeMapKeepsEveryDrivesPaths) {
    const platform::DriveMap drives = platform::DriveMap::Native();
    const std::pair<std::string, std::optional<std::string>> toHost[] = {
        {"C:\\Program Files\\蔚檀\\hjpz.ini", "C:\\Program Files\\蔚檀\\hjpz.ini"},
        {"e:\\setup\\zabo.bak", "e:\\setup\\zabo.bak"},
        {"zabo.bak", std::nullopt},
    };
    for (const auto& [windows, host] : toHost)
        EXPECT_EQ(drives.HostPath(windows), host) << windows;
    EXPECT_EQ(drives.WindowsPath("D:\\setup\\launcher.exe"), "D:\\setup\\launcher.exe");
}

} // namespace
