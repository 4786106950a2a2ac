#include "mainwindow/TForm1.h"

#include "mainwindow/WindowDescription.h"
#include "platform/Exception.h"

#include <exception>
#include <stdexcept>

namespace {

struct ControlMember {
    const char* name;
    platform::Control TForm1::*member;
};

// Every control of the window, so that they can be listed and observed by name.
constexpr ControlMember controlMembers[] = {
    {"Label5", &TForm1::Label5},         {"Label6", &TForm1::Label6},
    {"GroupBox1", &TForm1::GroupBox1},   {"Label1", &TForm1::Label1},
    {"Label2", &TForm1::Label2},         {"Label3", &TForm1::Label3},
    {"Label4", &TForm1::Label4},         {"GroupBox4", &TForm1::GroupBox4},
    {"Label8", &TForm1::Label8},         {"Label9", &TForm1::Label9},
    {"Edit8", &TForm1::Edit8},           {"Edit9", &TForm1::Edit9},
    {"BitBtn2", &TForm1::BitBtn2},       {"BitBtn3", &TForm1::BitBtn3},
    {"BitBtn4", &TForm1::BitBtn4},       {"GroupBox2", &TForm1::GroupBox2},
    {"BitBtn5", &TForm1::BitBtn5},       {"BitBtn6", &TForm1::BitBtn6},
    {"BitBtn1", &TForm1::BitBtn1},       {"ADOCommand1", &TForm1::ADOCommand1},
    {"IdIPWatch1", &TForm1::IdIPWatch1},
};

struct ClickBinding {
    const char* control;
    void (TForm1::*handler)();
};

constexpr ClickBinding clickBindings[] = {
    {"BitBtn1", &TForm1::BitBtn1Click}, {"Label3", &TForm1::Label3Click},
    {"BitBtn2", &TForm1::BitBtn2Click}, {"BitBtn3", &TForm1::BitBtn3Click},
    {"BitBtn4", &TForm1::BitBtn4Click}, {"BitBtn5", &TForm1::BitBtn5Click},
    {"BitBtn6", &TForm1::BitBtn6Click},
};

} // namespace

TForm1::TForm1(platform::Platform& platform)
    : Label5(Form1Control("Label5")), Label6(Form1Control("Label6")),
      GroupBox1(Form1Control("GroupBox1")), Label1(Form1Control("Label1")),
      Label2(Form1Control("Label2")), Label3(Form1Control("Label3")),
      Label4(Form1Control("Label4")), GroupBox4(Form1Control("GroupBox4")),
      Label8(Form1Control("Label8")), Label9(Form1Control("Label9")), Edit8(Form1Control("Edit8")),
      Edit9(Form1Control("Edit9")), BitBtn2(Form1Control("BitBtn2")),
      BitBtn3(Form1Control("BitBtn3")), BitBtn4(Form1Control("BitBtn4")),
      GroupBox2(Form1Control("GroupBox2")), BitBtn5(Form1Control("BitBtn5")),
      BitBtn6(Form1Control("BitBtn6")), BitBtn1(Form1Control("BitBtn1")),
      ADOCommand1(Form1Control("ADOCommand1")), IdIPWatch1(Form1Control("IdIPWatch1")),
      m_platform(platform) {
    FormCreate();
}

const platform::FormDescription& TForm1::Description() const {
    return Form1Description();
}

std::vector<platform::Control*> TForm1::Controls() {
    std::vector<platform::Control*> controls;
    for (const auto& [name, member] : controlMembers)
        controls.push_back(&(this->*member));
    return controls;
}

void TForm1::Click(const std::string& controlName) {
    for (const auto& [control, handler] : clickBindings) {
        if (controlName != control)
            continue;
        if (!ControlNamed(controlName).Enabled())
            return;
        // The application's default report: the one place an exception is caught. The
        // handler ends where it failed and every control keeps the state it reached.
        try {
            (this->*handler)();
        } catch (const std::exception& error) {
            m_platform.boxes.ShowError(platform::ErrorReportText(error.what()));
        }
        return;
    }
}

platform::Control& TForm1::ControlNamed(const std::string& name) {
    for (const auto& [controlName, member] : controlMembers)
        if (name == controlName)
            return this->*member;
    throw std::out_of_range("no control named " + name);
}

void TForm1::SetObserver(platform::FormObserver* observer) {
    m_observer = observer;
    for (platform::Control* control : Controls())
        control->SetObserver(observer);
}

void TForm1::Close() {
    if (m_observer != nullptr)
        m_observer->CloseRequested();
}
