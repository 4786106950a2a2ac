#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// Replaces the file's content with the pieces, one after the other, or creates the file:
// through a temporary file "<file>.<pid>-<n>.tmp" in the same directory, flushed to disk and
// moved over it, so the file is the old one or the new one whole, never a mix. Keeps the
// existing file's permissions. On POSIX it writes a symbolic link's target (a dangling
// link's too) and keeps the owner where allowed. On failure returns false with errno saying
// why, the file as it was and no temporary file left.
bool ReplaceFile(const std::string& path, std::initializer_list<std::string_view> pieces);

} // namespace platform
