#pragma once

#include "platform/DriveMap.h"

namespace platform {

// The drive map of this host: drive C is the directory named by LAUNCHER_DRIVE_C, or
// ~/.local/share/launcher/drive_c without it (created on first use); drive Z is '/'.
DriveMap HostDriveMap();

} // namespace platform
