#include "app/StartSequence.h"
#include "mainwindow/TForm1.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

using testing_support::FakePlatform;

namespace {

TEST(FormCreate, RecordsPathDirectoryAndComputerName) {
    struct Case {
        std::string exe;
        std::optional<std::string> computer;
        std::string programDir, label2;
    };
    const Case cases[] = {
        {"D:\\setup\\launcher.exe", "SERVER1", "D:\\setup", "SERVER1"},
        {"E:\\launcher.exe", "SERVER1", "E:\\", "SERVER1"},
        {"Z:\\tmp\\安装 it's\\launcher", "服务器", "Z:\\tmp\\安装 it's", "服务器"},
        {"D:\\setup\\launcher.exe", std::nullopt, "D:\\setup", ""},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.exeName = c.exe;
        fake.computerName = c.computer;
        TForm1 form(fake.Components());
        EXPECT_EQ(form.Module.ExeFileName, c.exe);
        EXPECT_EQ(form.Module.ProgramDir, c.programDir) << c.exe;
        EXPECT_EQ(form.Label2.Caption(), c.label2);
        EXPECT_TRUE(form.Module.IniFileName.empty() && !form.Module.ConfigIni);
    }
}

TEST(FormCreate, EmptyNameAtStartUpIsRecordedAsTheBareInstance) {
    FakePlatform fake;
    fake.computerName.reset();
    TForm1 form(fake.Components());
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    form.Click("BitBtn4");
    EXPECT_EQ(fake.journal.back(),
              "ini write D:\\setup\\hjpz.ini [SQL服务器名称] 服务器名称=\\HOME");
}

TEST(StartSequence, SetsTheTitleAndEndsWithTheLoopsExitCode) {
    FakePlatform fake;
    EXPECT_EQ(RunLauncher(fake.Components()), 0);
    EXPECT_EQ(fake.Components().application.Title(), "筠栎软件安装程序");
}

} // namespace
