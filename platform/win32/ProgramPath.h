#pragma once

#include <string>

namespace platform::win32 {

// The full path of this program's own file; empty when the system cannot give it.
std::wstring ProgramPath();

} // namespace platform::win32
