#include "mainwindow/TForm1.h"

#include "server/ButtonsBackOnFailure.h"
#include "server/RestoreCommand.h"

// Step one: install the database engine. The wait stands in for watching the setup.
void TForm1::BitBtn2Click() {
    BitBtn2.SetEnabled(false);
    BitBtn1.SetEnabled(false);
    ButtonsBackOnFailure buttonsBack{&BitBtn2, &BitBtn1};
    EnterProgramDir();
    m_platform.processes.WinExec("MSSQL.exe");
    buttonsBack.Keep();
    m_platform.clock.Sleep(90000);
    m_platform.boxes.ShowMessage("第一步成功完成！");
    BitBtn3.SetEnabled(true);
}

// Step two: start the engine's service.
void TForm1::BitBtn3Click() {
    BitBtn3.SetEnabled(false);
    ButtonsBackOnFailure buttonsBack{&BitBtn3};
    EnterProgramDir();
    m_platform.processes.WinExec("start.bat");
    buttonsBack.Keep();
    m_platform.clock.Sleep(30000);
    m_platform.boxes.ShowMessage("第二步成功完成！");
    BitBtn4.SetEnabled(true);
}

// Step three: restore the database, then record where the clients find it. A failed
// restore leaves this button enabled, so the operator can repair the server and retry.
void TForm1::BitBtn4Click() {
    Edit9.SetCaption(Module.ProgramDir + "\\zabo.bak");
    const std::string computerName = ReadComputerName();
    RunRestore(m_platform.database, BuildConnectionString(computerName),
               BuildRestoreStatement(Edit8.Caption(), Edit9.Caption()));
    m_platform.boxes.ShowMessage("第三步成功完成！");
    m_platform.boxes.ShowMessage("现在您可以安装客户端了！");
    BitBtn4.SetEnabled(false);
    BitBtn1.SetEnabled(true);
    WriteClientConfig();
}
