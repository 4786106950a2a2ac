#include "mainwindow/TForm1.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

using testing_support::FakePlatform;

namespace {

class RecordingObserver : public platform::FormObserver {
public:
    void ControlChanged(const platform::Control& control) override {
        events.push_back(control.Name() + (control.Enabled() ? " on " : " off ") +
                         control.Caption());
    }
    void CloseRequested() override { events.push_back("close"); }
    std::vector<std::string> events;
};

TEST(TForm1, EveryDescribedControlHasItsMemberAndEveryMemberItsDescription) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    std::vector<std::string> members;
    for (platform::Control* control : form.Controls()) {
        members.push_back(control->Name());
        EXPECT_EQ(&form.ControlNamed(control->Name()), control);
        EXPECT_EQ(&control->Description(), &Form1Control(control->Name()));
    }
    std::vector<std::string> described;
    for (const platform::ControlDescription& control : Form1Controls())
        described.push_back(control.name);
    EXPECT_EQ(members, described);
    EXPECT_EQ(form.Edit8.Caption(), "zabo");
    EXPECT_EQ(form.Edit9.Caption(), "zabo.bak");
}

TEST(TForm1, ExitButtonAsksToCloseTheWindow) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    RecordingObserver observer;
    form.SetObserver(&observer);
    form.Click("BitBtn1");
    EXPECT_EQ(observer.events, std::vector<std::string>{"close"});
}

TEST(TForm1, HelpLinkOpensTheDocumentInTheCurrentDirectory) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    form.Click("Label3");
    EXPECT_EQ(fake.journal, std::vector<std::string>{"open 设置固定IP地址.mht"});
}

TEST(TForm1, ObserverSeesEveryChangeAsItHappens) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    RecordingObserver observer;
    form.SetObserver(&observer);
    fake.onBox = [&](const std::string& box) { observer.events.push_back(box); };
    form.Click("BitBtn2");
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"BitBtn2 off 第一步", "BitBtn1 off 退    出",
                                        "message 第一步成功完成！", "BitBtn3 on 第二步"}));
}

TEST(TForm1, ClickOnAControlWithoutHandlerDoesNothing) {
    FakePlatform fake;
    TForm1 form(fake.Components());
    form.Click("Label4");
    form.Click("NoSuchControl");
    EXPECT_TRUE(fake.journal.empty());
}

} // namespace
