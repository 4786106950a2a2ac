#include "platform/win32/Win32MessageBoxes.h"

#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform::win32 {
namespace {

void ShowBox(const std::string& title, const std::string& text, UINT icon) {
    ::MessageBoxW(::GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), MB_OK | icon);
}

} // namespace

void Win32MessageBoxes::ShowMessage(const std::string& text) {
    ShowBox(m_application.Title(), text, 0);
}

void Win32MessageBoxes::ShowError(const std::string& text) {
    ShowBox(m_application.Title(), text, MB_ICONERROR);
}

} // namespace platform::win32
