#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace platform::win32 {

void Win32Clock::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace platform::win32
