#include "platform/win32/Win32Shell.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform::win32 {

void Win32Shell::OpenDocument(const std::string& document) {
    // Loaded on the first click rather than with the program: the shell and the libraries
    // it brings hold the window back by tens of milliseconds under Wine.
    static const auto shellExecute = reinterpret_cast<decltype(&::ShellExecuteW)>(
        reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryW(L"shell32.dll"), "ShellExecuteW")));
    if (shellExecute != nullptr)
        shellExecute(::GetActiveWindow(), L"open", Widen(document).c_str(), L"", L"",
                     SW_SHOWNORMAL);
}

} // namespace platform::win32
