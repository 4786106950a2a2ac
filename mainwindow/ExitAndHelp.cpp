#include "mainwindow/TForm1.h"

void TForm1::BitBtn1Click() {
    Close();
}

// The document is named relative to whatever the current directory is at the click.
void TForm1::Label3Click() {
    m_platform.shell.OpenDocument("设置固定IP地址.mht");
}
