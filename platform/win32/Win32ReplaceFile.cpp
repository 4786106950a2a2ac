#include "platform/ReplaceFile.h"

#include "platform/win32/AtomicFile.h"
#include "platform/win32/WideText.h"

#include <cerrno>
#include <windows.h>

// windows.h names its own function so; ours is meant here.
#undef ReplaceFile

namespace platform {
namespace {

// Callers report a failed replace by errno, as on POSIX.
int ErrnoFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

} // namespace

bool ReplaceFile(const std::string& path, std::initializer_list<std::string_view> pieces) {
    if (win32::ReplaceFileContent(win32::Widen(path), pieces))
        return true;
    errno = ErrnoFor(::GetLastError());
    return false;
}

} // namespace platform
