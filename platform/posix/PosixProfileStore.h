#pragma once

#include "platform/DriveMap.h"
#include "platform/ProfileFileStore.h"

namespace platform {

// The profile file on the host: the Windows path goes through the drive map, each operation
// reads the file, edits its bytes and replaces it whole when they change. A file that exists
// but may not be written, or is no regular file, fails every operation; so does a change
// that would create one in a folder that may not be written.
class PosixProfileStore : public ProfileFileStore {
public:
    explicit PosixProfileStore(DriveMap drives);

private:
    bool Apply(const std::string& file, const Edit& edit) const override;

    DriveMap m_drives;
};

} // namespace platform
