#include "app/StartSequence.h"

#include "mainwindow/TForm1.h"

int RunLauncher(platform::Platform& platform) {
    platform.application.SetTitle(applicationTitle);
    TForm1 form(platform);
    return platform.application.Run(form);
}
