#pragma once

#include "mainwindow/ModuleState.h"
#include "mainwindow/WindowDescription.h"
#include "platform/Platform.h"
#include "platform/Window.h"

#include <string>
#include <vector>

// The window's controls in creation order, the one list of their names: the members,
// Controls() and ControlNamed all follow from it. Each name must have its description.
#define TFORM1_CONTROLS(X)                                                                         \
    X(Label5)                                                                                      \
    X(Label6)                                                                                      \
    X(GroupBox1)                                                                                   \
    X(Label1)                                                                                      \
    X(Label2)                                                                                      \
    X(Label3)                                                                                      \
    X(Label4)                                                                                      \
    X(GroupBox4)                                                                                   \
    X(Label8)                                                                                      \
    X(Label9)                                                                                      \
    X(Edit8)                                                                                       \
    X(Edit9)                                                                                       \
    X(BitBtn2)                                                                                     \
    X(BitBtn3)                                                                                     \
    X(BitBtn4)                                                                                     \
    X(GroupBox2)                                                                                   \
    X(BitBtn5)                                                                                     \
    X(BitBtn6)                                                                                     \
    X(BitBtn1)                                                                                     \
    X(ADOCommand1)                                                                                 \
    X(IdIPWatch1)

// The launcher's window: the state of every control, the state the handlers share and
// the handlers themselves, each defined in the folder of its subsystem. Constructing it
// runs FormCreate.
class TForm1 : public platform::Form {
public:
    explicit TForm1(platform::Platform& platform);

    const platform::FormDescription& Description() const override;
    std::vector<platform::Control*> Controls() override;
    // Runs the control's click handler; an exception leaving it goes to the error box.
    void Click(const std::string& controlName) override;
    void SetObserver(platform::FormObserver* observer) override;
    platform::Control& ControlNamed(const std::string& name);

    // Each control is a member named after it, built from its description.
#define TFORM1_CONTROL_MEMBER(name) platform::Control name{Form1Control(#name)};
    TFORM1_CONTROLS(TFORM1_CONTROL_MEMBER)
#undef TFORM1_CONTROL_MEMBER

    ModuleState Module;

    // Handlers, bound to controls by name in Click.
    void FormCreate();
    void BitBtn1Click();
    void Label3Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();

private:
    void EnterProgramDir();
    std::string ReadComputerName();
    void Close();
    void WriteClientConfig();
    void WriteConfigValue(const std::string& value);

    platform::Platform& m_platform;
    platform::FormObserver* m_observer = nullptr;
};
