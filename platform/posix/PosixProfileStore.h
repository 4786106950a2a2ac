#pragma once

#include "platform/DriveMap.h"
#include "platform/ProfileStore.h"
#include "platform/ProfileText.h"

#include <functional>
#include <optional>
#include <string_view>

namespace platform {

// The profile file on the host: the Windows path goes through the drive map, each operation
// reads the file, edits its bytes and replaces it whole when they change. A file that exists
// but may not be written, or is no regular file, fails every operation; so does a change
// that would create one in a folder that may not be written. Raises Exception for a name or
// value that the file's encoding cannot hold or that spans lines.
class PosixProfileStore : public ProfileStore {
public:
    explicit PosixProfileStore(DriveMap drives);

    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    using Edit = std::function<std::optional<profiletext::Splice>(std::string_view bytes)>;
    bool Apply(const std::string& file, const Edit& edit) const;

    DriveMap m_drives;
};

} // namespace platform
