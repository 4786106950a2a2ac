#include "platform/win32/Win32Shell.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform::win32 {

void Win32Shell::OpenDocument(const std::string& document) {
    ::ShellExecuteW(::GetActiveWindow(), L"open", Widen(document).c_str(), L"", L"", SW_SHOWNORMAL);
}

} // namespace platform::win32
