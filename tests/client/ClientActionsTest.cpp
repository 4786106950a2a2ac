#include "mainwindow/TForm1.h"
#include "tests/support/FakePlatform.h"

#include <functional>
#include <gtest/gtest.h>

using testing_support::FakePlatform;

namespace {

const std::string enter[] = {"chdir c:\\", "chdir D:\\setup"};
const std::string copy = "copy hjpz.ini -> c:\\Program Files\\蔚檀\\hjpz.ini";
const std::string instruction = "message 完成'1、安装客户端'后，请运行'2、自动环境配置！'";

struct ClientCase {
    const char* name;
    std::string click;
    std::function<void(FakePlatform&)> script;
    std::vector<std::string> journal;
};

void PrintTo(const ClientCase& c, std::ostream* out) {
    *out << c.name;
}

const ClientCase clientCases[] = {
    {"InstallStartsTheClientSetup",
     "BitBtn5",
     nullptr,
     {instruction, enter[0], enter[1], "exec zabo.exe"}},
    {"InstallWithoutSetupProgram",
     "BitBtn5",
     [](FakePlatform& f) { f.startFailures["zabo.exe"] = "No such file or directory"; },
     {instruction, enter[0], enter[1], "exec zabo.exe",
      "error 无法启动程序“zabo.exe”：No such file or directory."}},
    {"InstallWithoutDriveC",
     "BitBtn5",
     [](FakePlatform& f) { f.chdirFailures["c:\\"] = 3; },
     {instruction, enter[0], "error Invalid filename."}},
    {"ConfigureCopiesTheFile",
     "BitBtn6",
     nullptr,
     {enter[0], enter[1], copy, "message 已完成客户端安装！"}},
    {"ConfigureKeepsAnExistingFile",
     "BitBtn6",
     [](FakePlatform& f) {
         f.copyResult = {platform::CopyOutcome::DestinationExists, {}};
     },
     {enter[0], enter[1], copy, "message 已完成客户端安装！"}},
    {"ConfigureReportsAFailedCopy",
     "BitBtn6",
     [](FakePlatform& f) {
         f.copyResult = {platform::CopyOutcome::Failed,
                         "c:\\Program Files\\蔚檀: No such file or directory"};
     },
     {enter[0], enter[1], copy,
      "error 无法将“hjpz.ini”复制到“c:\\Program Files\\蔚檀\\hjpz.ini”：c:\\Program "
      "Files\\蔚檀: No such file or directory."}},
    {"ConfigureWithoutProgramDir",
     "BitBtn6",
     [](FakePlatform& f) { f.chdirFailures["D:\\setup"] = 5; },
     {enter[0], enter[1], "error File access denied."}},
};

class ClientTest : public testing::TestWithParam<ClientCase> {};

TEST_P(ClientTest, ActionDoesItsSteps) {
    const ClientCase& c = GetParam();
    FakePlatform fake;
    TForm1 form(fake.Components());
    if (c.script)
        c.script(fake);
    form.Click(c.click);
    EXPECT_EQ(fake.journal, c.journal);
    EXPECT_EQ(fake.elapsedMilliseconds, 0u);
}

INSTANTIATE_TEST_SUITE_P(ClientActions, ClientTest, testing::ValuesIn(clientCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClientActions, WorkInEveryStateOfTheServerChain) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    for (const char* step : {"", "BitBtn2", "BitBtn3", "BitBtn4"}) {
        if (*step != '\0')
            form.Click(step);
        fake.journal.clear();
        form.Click("BitBtn5");
        form.Click("BitBtn6");
        EXPECT_EQ(fake.journal, (std::vector<std::string>{instruction, enter[0], enter[1],
                                                          "exec zabo.exe", enter[0], enter[1], copy,
                                                          "message 已完成客户端安装！"}))
            << "after " << step;
    }
}

} // namespace
