// The yardstick for the launcher's start-up under Wine: a bare Win32 program showing the same
// window and controls, with plain system controls and no logic. Its exit button ends it. It
// carries the launcher's manifest (so the same common controls draw it) and gives each
// control the launcher's font, so that the comparison is of the launcher's own work.
#include "mainwindow/WindowDescription.h"
#include "platform/win32/Win32Look.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

constexpr int exitButtonId = 1;

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return wide;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == exitButtonId)
        ::DestroyWindow(window);
    else if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    else
        return ::DefWindowProcW(window, message, wParam, lParam);
    return 0;
}

const wchar_t* ClassOf(platform::ControlKind kind) {
    switch (kind) {
    case platform::ControlKind::Label:
        return L"STATIC";
    case platform::ControlKind::Edit:
        return L"EDIT";
    default:
        return L"BUTTON";
    }
}

// A control's own font, else its nearest ancestor's, else the window's.
const platform::Font& FontOf(const platform::ControlDescription& control) {
    const auto& controls = Form1Controls();
    for (const platform::ControlDescription* current = &control;;) {
        if (current->font)
            return *current->font;
        const auto parent = std::find_if(controls.begin(), controls.end(), [&](const auto& other) {
            return other.name == current->parent;
        });
        if (parent == controls.end())
            return Form1Description().font;
        current = &*parent;
    }
}

} // namespace

int main() {
    const platform::FormDescription& form = Form1Description();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"BareWindow";
    ::RegisterClassW(&windowClass);
    const DWORD style = WS_CAPTION | WS_MINIMIZEBOX;
    RECT frame{0, 0, form.clientWidth, form.clientHeight};
    ::AdjustWindowRect(&frame, style, FALSE);
    HWND window = ::CreateWindowW(L"BareWindow", Wide(form.caption).c_str(), style, form.left,
                                  form.top, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    std::map<std::string, HWND> windows;
    for (const platform::ControlDescription& control : Form1Controls()) {
        if (control.kind == platform::ControlKind::Component)
            continue;
        const DWORD kindStyle = control.kind == platform::ControlKind::GroupBox ? BS_GROUPBOX : 0;
        const auto found = windows.find(control.parent);
        windows[control.name] = ::CreateWindowW(
            ClassOf(control.kind), Wide(control.text).c_str(),
            WS_CHILD | kindStyle | (control.visible ? WS_VISIBLE : 0), control.left, control.top,
            control.width, control.height, found == windows.end() ? window : found->second,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.isDefault ? exitButtonId : 0)),
            windowClass.hInstance, nullptr);
        ::SendMessageW(
            windows[control.name], WM_SETFONT,
            reinterpret_cast<WPARAM>(platform::win32::CreateDescribedFont(FontOf(control))), FALSE);
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
