#pragma once

#include <optional>
#include <string>

namespace platform {

// Maps Windows paths to host paths the way a Windows compatibility layer maps drives:
// drive C is a host directory, drive Z is the host root, other drives are unmapped.
// Letters compare case-insensitively; '\' and '/' are both separators.
class DriveMap {
public:
    explicit DriveMap(std::string driveCDirectory);
    // On Windows itself: every drive is the host's own, and a path is its own host path.
    static DriveMap Native();

    // The host path for a Windows path; nothing for an unmapped drive or a relative path.
    std::optional<std::string> HostPath(const std::string& windowsPath) const;

    // The Windows path for an absolute host path: on drive C when it lies under drive C's
    // directory, otherwise on drive Z.
    std::string WindowsPath(const std::string& hostPath) const;

private:
    std::string m_driveC; // absolute, without trailing slash
    bool m_native = false;
};

} // namespace platform
