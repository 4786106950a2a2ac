#include "mainwindow/TForm1.h"

#include "platform/RunTime.h"

void TForm1::FormCreate() {
    Module.ExeFileName = m_platform.application.ExeName();
    Module.ProgramDir = platform::ExtractFileDir(Module.ExeFileName);
    Label2.SetCaption(ReadComputerName());
}

// A failed query is not reported: the name is then the empty string.
std::string TForm1::ReadComputerName() {
    return m_platform.computerName.GetComputerNameA().value_or("");
}
