#pragma once

#include "platform/Platform.h"

#include <memory>

namespace platform {

// The real components of this host: the window toolkit, the operating system and the
// database client, with drive C where LAUNCHER_DRIVE_C says.
class HostPlatform {
public:
    // The arguments are the toolkit's alone; the launcher reads none.
    HostPlatform(int& argc, char** argv);
    ~HostPlatform();

    Platform& Components();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace platform
