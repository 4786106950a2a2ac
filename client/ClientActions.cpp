#include "mainwindow/TForm1.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

namespace {

constexpr const char* clientConfigFile = "c:\\Program Files\\蔚檀\\hjpz.ini";

} // namespace

void TForm1::BitBtn5Click() {
    m_platform.boxes.ShowMessage("完成'1、安装客户端'后，请运行'2、自动环境配置！'");
    EnterProgramDir();
    m_platform.processes.WinExec("zabo.exe");
}

// A configuration already in the client's folder is kept; any other failed copy is an
// error, so that the completion message never follows a copy that did not happen.
void TForm1::BitBtn6Click() {
    EnterProgramDir();
    const platform::CopyResult copy =
        m_platform.files.CopyFileFailIfExists("hjpz.ini", clientConfigFile);
    if (copy.outcome == platform::CopyOutcome::Failed)
        throw platform::Exception(
            platform::messages::CannotCopy("hjpz.ini", clientConfigFile, copy.reason));
    m_platform.boxes.ShowMessage("已完成客户端安装！");
}
