#include "platform/win32/Win32Application.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FormView.h"

#include <commctrl.h>

namespace platform::win32 {

Win32Application::Win32Application() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

std::string Win32Application::ExeName() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

int Win32Application::Run(Form& mainForm) {
    Win32FormView view(mainForm);
    view.Run();
    return 0;
}

} // namespace platform::win32
