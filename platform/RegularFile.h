#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace platform {

// Why a file could not be read, as the Windows error code a Windows program meets.
struct FileError {
    int windowsCode;
};

// The whole content of a regular file of at most maxSize bytes. Failures: 2 for a missing
// file in an existing folder, 3 for a missing folder, 5 for a file that may not be read or
// is no regular file (a folder, FIFO, device or socket, refused at once without waiting on
// it), 8 for a file larger than maxSize.
std::variant<std::vector<std::uint8_t>, FileError> ReadRegularFile(const std::string& path,
                                                                   std::size_t maxSize);

} // namespace platform
