#include "mainwindow/TForm1.h"

// Drive C first, every time: a machine without it fails here, before anything of the
// distribution directory is named.
void TForm1::EnterProgramDir() {
    m_platform.files.ChDir("c:\\");
    m_platform.files.ChDir(Module.ProgramDir);
}
