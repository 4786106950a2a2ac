#pragma once

#include "distribution/engine/Bytes.h"

#include <string>
#include <variant>

namespace engine {

// A Windows system error code, as the server quotes it in its messages.
struct WindowsError {
    int code;
};

// The server's rendering of a Windows error: "2(The system cannot find the file specified.)".
std::string WindowsErrorText(WindowsError error);

// Reads a whole backup file from a host path. Failures carry the Windows code a Windows
// server would see for the same situation: 2 for a missing file in an existing folder, 3 for
// a missing folder, 5 for a file that may not be read or is no regular file (a folder, FIFO,
// device or socket, refused at once without waiting on it).
std::variant<Bytes, WindowsError> ReadBackupDevice(const std::string& hostPath);

// The largest backup the engine reads, so that a stray huge file cannot exhaust memory.
inline constexpr std::size_t maxBackupSize = std::size_t{256} << 20;

} // namespace engine
