#pragma once

#include "platform/FileSystem.h"

namespace platform::win32 {

// The current directory and copies on real Windows paths; the system's error codes are
// already the run-time's I/O error codes.
class Win32FileSystem : public FileSystem {
public:
    void ChDir(const std::string& directory) override;
    CopyResult CopyFileFailIfExists(const std::string& source,
                                    const std::string& destination) override;
};

} // namespace platform::win32
