#pragma once

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"

#include <optional>

namespace platform {

// The current directory and file copies on the host, through the drive map.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(DriveMap drives);

    void ChDir(const std::string& directory) override;
    CopyResult CopyFileFailIfExists(const std::string& source,
                                    const std::string& destination) override;

private:
    // Absolute paths through the drive map; relative ones as they are, with '/'.
    std::optional<std::string> HostPathOf(const std::string& windowsPath) const;

    DriveMap m_drives;
};

} // namespace platform
