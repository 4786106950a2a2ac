#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// A window's text, whole. For another process's window it is the system's copy, read
// without sending the window a message, so a window whose thread is busy still answers.
std::wstring WindowText(HWND window);

} // namespace platform::win32
