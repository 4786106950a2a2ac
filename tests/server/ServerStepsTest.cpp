#include "mainwindow/TForm1.h"
#include "tests/support/FakePlatform.h"

#include <functional>
#include <gtest/gtest.h>

using testing_support::FakePlatform;

namespace {

// The enabled states of step one, two, three and the exit button: '+' on, '-' off.
std::string ChainButtons(const TForm1& form) {
    std::string states;
    for (const platform::Control* button :
         {&form.BitBtn2, &form.BitBtn3, &form.BitBtn4, &form.BitBtn1})
        states += button->Enabled() ? '+' : '-';
    return states;
}

const std::string connection = "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;"
                               "User ID=sa;Initial Catalog=master;Data Source=SERVER1\\home";
const std::string restore =
    "execute " + connection + " |  RESTORE DATABASE zabo FROM disk = 'D:\\setup\\zabo.bak'";
const std::string ini = "D:\\setup\\hjpz.ini";

struct ChainCase {
    const char* name;
    std::vector<std::string> before; // clicks that bring the chain to its state
    std::string click;
    std::function<void(FakePlatform&)> script;
    std::string buttons;
    std::vector<std::string> journal; // of the click alone
    unsigned long long waited;
};

const ChainCase chainCases[] = {
    {"StepOne",
     {},
     "BitBtn2",
     nullptr,
     "-+--",
     {"chdir c:\\", "chdir D:\\setup", "exec MSSQL.exe", "sleep 90000", "message 第一步成功完成！"},
     90000},
    {"StepTwo",
     {"BitBtn2"},
     "BitBtn3",
     nullptr,
     "--+-",
     {"chdir c:\\", "chdir D:\\setup", "exec start.bat", "sleep 30000", "message 第二步成功完成！"},
     30000},
    {"StepThree",
     {"BitBtn2", "BitBtn3"},
     "BitBtn4",
     nullptr,
     "---+",
     {restore, "message 第三步成功完成！", "message 现在您可以安装客户端了！",
      "ini delete " + ini + " [服务器ip] ip", "ini erase " + ini + " [ip]",
      "ini write " + ini + " [服务器ip] ip=192.0.2.10",
      "ini write " + ini + " [SQL服务器名称] 服务器名称=SERVER1\\HOME"},
     0},
    // The restore reads the name again; the configuration records the one from start-up.
    {"StepThreeWhenTheNameQueryFails",
     {"BitBtn2", "BitBtn3"},
     "BitBtn4",
     [](FakePlatform& f) { f.computerName.reset(); },
     "---+",
     {"execute " + connection.substr(0, connection.size() - 12) +
          "\\home |  RESTORE DATABASE zabo FROM disk = 'D:\\setup\\zabo.bak'",
      "message 第三步成功完成！", "message 现在您可以安装客户端了！",
      "ini delete " + ini + " [服务器ip] ip", "ini erase " + ini + " [ip]",
      "ini write " + ini + " [服务器ip] ip=192.0.2.10",
      "ini write " + ini + " [SQL服务器名称] 服务器名称=SERVER1\\HOME"},
     0},
    {"FailedRestoreKeepsStepThree",
     {"BitBtn2", "BitBtn3"},
     "BitBtn4",
     [](FakePlatform& f) { f.databaseError = "Login failed for user 'sa'."; },
     "--+-",
     {restore, "error Login failed for user 'sa'."},
     0},
    {"UnwritableConfigurationAfterTheChain",
     {"BitBtn2", "BitBtn3"},
     "BitBtn4",
     [](FakePlatform& f) { f.profileWritable = false; },
     "---+",
     {restore, "message 第三步成功完成！", "message 现在您可以安装客户端了！",
      "error Unable to write to " + ini + "."},
     0},
    {"UnresolvableAddressWritesNothing",
     {"BitBtn2", "BitBtn3"},
     "BitBtn4",
     [](FakePlatform& f) { f.localIPError = "Cannot resolve SERVER1"; },
     "---+",
     {restore, "message 第三步成功完成！", "message 现在您可以安装客户端了！",
      "error Cannot resolve SERVER1."},
     0},
    // A step whose program never started does not wait, and puts the chain back.
    {"StepOneWithoutDriveC",
     {},
     "BitBtn2",
     [](FakePlatform& f) { f.chdirFailures["c:\\"] = 3; },
     "+--+",
     {"chdir c:\\", "error Invalid filename."},
     0},
    {"StepOneWithoutProgramDir",
     {},
     "BitBtn2",
     [](FakePlatform& f) { f.chdirFailures["D:\\setup"] = 2; },
     "+--+",
     {"chdir c:\\", "chdir D:\\setup", "error File not found."},
     0},
    {"StepOneProgramMissing",
     {},
     "BitBtn2",
     [](FakePlatform& f) { f.startFailures["MSSQL.exe"] = "No such file or directory"; },
     "+--+",
     {"chdir c:\\", "chdir D:\\setup", "exec MSSQL.exe",
      "error 无法启动程序“MSSQL.exe”：No such file or directory."},
     0},
    {"StepTwoScriptMissing",
     {"BitBtn2"},
     "BitBtn3",
     [](FakePlatform& f) { f.startFailures["start.bat"] = "Permission denied"; },
     "-+--",
     {"chdir c:\\", "chdir D:\\setup", "exec start.bat",
      "error 无法启动程序“start.bat”：Permission denied."},
     0},
    // Disabled buttons take no clicks.
    {"StepTwoBeforeStepOne", {}, "BitBtn3", nullptr, "+--+", {}, 0},
    {"StepOneAgain", {"BitBtn2"}, "BitBtn2", nullptr, "-+--", {}, 0},
    {"StepThreeAgainAfterSuccess",
     {"BitBtn2", "BitBtn3", "BitBtn4"},
     "BitBtn4",
     nullptr,
     "---+",
     {},
     0},
};

void PrintTo(const ChainCase& c, std::ostream* out) {
    *out << c.name;
}

class ChainTest : public testing::TestWithParam<ChainCase> {};

TEST_P(ChainTest, ClickMovesTheChain) {
    const ChainCase& c = GetParam();
    FakePlatform fake;
    TForm1 form(fake.Components());
    for (const auto& click : c.before)
        form.Click(click);
    fake.journal.clear();
    fake.elapsedMilliseconds = 0;
    if (c.script)
        c.script(fake);

    form.Click(c.click);

    EXPECT_EQ(ChainButtons(form), c.buttons);
    EXPECT_EQ(fake.journal, c.journal);
    EXPECT_EQ(fake.elapsedMilliseconds, c.waited);
    EXPECT_TRUE(form.BitBtn5.Enabled() && form.BitBtn6.Enabled());
}

INSTANTIATE_TEST_SUITE_P(ServerSteps, ChainTest, testing::ValuesIn(chainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ServerSteps, StepThreeSendsTheSameStringsAgainAfterAFailure) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    fake.databaseError = "Cannot open backup device";
    fake.journal.clear();
    form.Click("BitBtn4");
    const auto first = fake.journal;
    fake.journal.clear();
    form.Click("BitBtn4");
    EXPECT_EQ(fake.journal, first);
    EXPECT_EQ(form.Edit9.Caption(), "D:\\setup\\zabo.bak");
}

TEST(ServerSteps, ButtonsAreSetBeforeTheWaitAndTheConfiguration) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    std::vector<std::string> seen;
    fake.onBox = [&](const std::string& box) { seen.push_back(box + " " + ChainButtons(form)); };
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    fake.profileWritable = false;
    form.Click("BitBtn4");
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "message 第一步成功完成！ ----", "message 第二步成功完成！ ----",
                        "message 第三步成功完成！ --+-", "message 现在您可以安装客户端了！ --+-",
                        "error Unable to write to D:\\setup\\hjpz.ini. ---+"}));
}

TEST(ServerSteps, LauncherAtADriveRootNamesTheBackupWithADoubledSeparator) {
    FakePlatform fake;
    fake.exeName = "E:\\launcher.exe";
    TForm1 form(fake.Components());
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    fake.journal.clear();
    form.Click("BitBtn4");
    EXPECT_EQ(form.Edit9.Caption(), "E:\\\\zabo.bak");
    EXPECT_EQ(fake.journal.at(3), "ini delete E:\\hjpz.ini [服务器ip] ip");
}

} // namespace
