#pragma once

#include <string>

namespace platform {

// The Windows error code that a failed directory change reports for a POSIX errno.
// parentExists tells a missing directory (2) from a missing path to it (3).
int WindowsErrorCode(int error, bool parentExists);

// The system's words for an errno, for messages.
std::string ErrorText(int error);

} // namespace platform
