#include "platform/posix/PosixProfileStore.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/CodePage936.h"

namespace platform {

PosixProfileStore::PosixProfileStore(DriveMap drives)
    : ProfileFileStore(&ToCodePage936), m_drives(std::move(drives)) {}

bool PosixProfileStore::Apply(const std::string& file, const Edit& edit) const {
    const std::optional<std::string> path = m_drives.HostPath(file);
    if (!path)
        return false;
    const FileBytes current(*path);
    if (current.State() == FileState::Unreadable)
        return false;
    // Windows refuses to write a read-only file, even for an administrator; renaming over it
    // would not.
    const bool present = current.State() == FileState::Present;
    if (present && !MayReplace(*path))
        return false;
    const std::string_view bytes = current.Bytes();
    const std::optional<profiletext::Splice> splice = edit(bytes);
    if (!splice)
        return true;
    return (present || MayReplace(*path)) &&
           ReplaceFile(*path,
                       {bytes.substr(0, splice->from), splice->text, bytes.substr(splice->to)});
}

} // namespace platform
