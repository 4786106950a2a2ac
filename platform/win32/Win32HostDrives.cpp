#include "platform/HostDrives.h"

namespace platform {

DriveMap HostDriveMap() {
    return DriveMap::Native();
}

} // namespace platform
