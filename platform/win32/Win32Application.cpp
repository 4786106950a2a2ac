#include "platform/win32/Win32Application.h"

#include "platform/win32/ProgramPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FormView.h"

#include <commctrl.h>

namespace platform::win32 {

Win32Application::Win32Application() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

std::string Win32Application::ExeName() const {
    return Narrow(ProgramPath());
}

int Win32Application::Run(Form& mainForm) {
    Win32FormView view(mainForm);
    view.Run();
    return 0;
}

} // namespace platform::win32
