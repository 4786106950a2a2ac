#pragma once

#include "app/ModuleState.h"
#include "platform/Platform.h"
#include "platform/Window.h"

#include <string>
#include <vector>

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

    platform::Control Label5, Label6, GroupBox1, Label1, Label2, Label3, Label4, GroupBox4, Label8,
        Label9, Edit8, Edit9, BitBtn2, BitBtn3, BitBtn4, GroupBox2, BitBtn5, BitBtn6, BitBtn1,
        ADOCommand1, IdIPWatch1;

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
