#include "platform/win32/Win32Shell.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform::win32 {

void Win32Shell::OpenDocument(const std::string& document) {
    // Loaded on the first click rather than with the program: under Wine, the shell and the
    // libraries it brings delay every start, for a call only the help link makes.
    static const auto shellExecute = []() -> decltype(&::ShellExecuteW) {
        HMODULE shell = ::LoadLibraryW(L"shell32.dll");
        if (shell == nullptr)
            return nullptr;
        return reinterpret_cast<decltype(&::ShellExecuteW)>(
            reinterpret_cast<void*>(::GetProcAddress(shell, "ShellExecuteW")));
    }();
    if (shellExecute != nullptr)
        shellExecute(::GetActiveWindow(), L"open", Widen(document).c_str(), L"", L"",
                     SW_SHOWNORMAL);
}

} // namespace platform::win32
