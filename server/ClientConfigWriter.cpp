#include "mainwindow/TForm1.h"

#include "platform/RunTime.h"

void TForm1::WriteClientConfig() {
    Label1.SetCaption(m_platform.localAddress.LocalIP());
    // Beside the launcher, whatever the current directory is.
    Module.IniFileName = platform::ExtractFilePath(Module.ExeFileName) + "hjpz.ini";
    Module.ConfigIni =
        std::make_unique<platform::TIniFile>(m_platform.profiles, Module.IniFileName);
    Module.ConfigIni->DeleteKey("服务器ip", "ip");
    Module.ConfigIni->EraseSection("ip");
    Module.ConfigIni->UpdateFile();
    Module.IniSection = "服务器ip";
    Module.IniIdent = "ip";
    WriteConfigValue(Label1.Caption());
    Module.IniSection = "SQL服务器名称";
    Module.IniIdent = "服务器名称";
    WriteConfigValue(Label2.Caption() + "\\HOME");
}

void TForm1::WriteConfigValue(const std::string& value) {
    Module.ConfigIni->WriteString(Module.IniSection, Module.IniIdent, value);
}
