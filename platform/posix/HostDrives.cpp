#include "platform/HostDrives.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr)
        return entry->pw_dir;
    return "/";
}

} // namespace

DriveMap HostDriveMap() {
    if (const char* driveC = std::getenv("LAUNCHER_DRIVE_C"); driveC != nullptr && *driveC != '\0')
        return DriveMap(std::filesystem::absolute(driveC).lexically_normal().string());
    // The default drive C is ours to create; a drive named by the variable is left as it is,
    // so that a missing one fails like a missing drive.
    const auto defaultDriveC =
        std::filesystem::path(HomeDirectory()) / ".local/share/launcher/drive_c";
    std::error_code ignored;
    std::filesystem::create_directories(defaultDriveC, ignored);
    return DriveMap(defaultDriveC.string());
}

} // namespace platform
