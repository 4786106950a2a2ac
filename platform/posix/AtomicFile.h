#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class FileState { Present, Missing, Unreadable };

struct FileBytes {
    FileState state = FileState::Missing;
    std::string bytes;
};

// The whole content of a regular file (a host path).
FileBytes ReadWholeFile(const std::string& path);

// Whether this process may write the existing file: its permission bits, a read-only mount.
bool MayWrite(const std::string& path);

// Replaces the file's content (a symbolic link's target's) with `bytes`, or creates the file:
// through a temporary file in the same directory, synced and renamed over it, so the file is
// the old one or the new one whole, never a mix. Keeps an existing file's permission bits and,
// where allowed, its owner. On failure returns false, the file as it was and no temporary left.
bool ReplaceFile(const std::string& path, std::string_view bytes);

} // namespace platform
