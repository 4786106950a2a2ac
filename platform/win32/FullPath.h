#pragma once

#include <string>

namespace platform::win32 {

// The absolute form of a path, as the system resolves it against the current folder; the
// path as it is when the system cannot.
std::wstring FullPath(const std::wstring& path);

} // namespace platform::win32
