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
    // Windows refuses to write a read-only file; renaming over it would not.
    if (current.State() == FileState::Present && !MayWrite(*path))
        return false;
    const std::string_view bytes = current.Bytes();
    const std::optional<profiletext::Splice> splice = edit(bytes);
    return !splice || ReplaceFile(*path, {bytes.substr(0, splice->from), splice->text,
                                          bytes.substr(splice->to)});
}

} // namespace platform
