#include "mainwindow/TForm1.h"

#include "platform/Exception.h"

#include <exception>
#include <stdexcept>

namespace {

struct ControlMember {
    const char* name;
    platform::Control TForm1::*member;
};

// Every control of the window, so that they can be listed and observed by name.
#define TFORM1_CONTROL_ENTRY(name) {#name, &TForm1::name},
constexpr ControlMember controlMembers[] = {TFORM1_CONTROLS(TFORM1_CONTROL_ENTRY)};
#undef TFORM1_CONTROL_ENTRY

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

TForm1::TForm1(platform::Platform& platform) : m_platform(platform) {
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
