#pragma once

#include "platform/DriveMap.h"

namespace platform {

// The drive map of this host. On POSIX drive C is the directory named by LAUNCHER_DRIVE_C, or
// ~/.local/share/launcher/drive_c without it (created on first use); drive Z is '/'. On
// Windows every drive is its own.
DriveMap HostDriveMap();

} // namespace platform
