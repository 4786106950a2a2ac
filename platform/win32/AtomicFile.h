#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

enum class FileState { Present, Missing, Unreadable };

struct FileContent {
    FileState state;
    std::string bytes;
};

// The whole content of a file; Missing when neither it nor its folder exists.
FileContent ReadWholeFile(const std::wstring& path);

// Whether the file is marked read-only. Windows refuses to replace such a file, but Wine
// does not, so the profile store asks first.
bool IsReadOnly(const std::wstring& path);

// Replaces the file's content with the pieces, one after the other, or creates the file:
// through "<file>.<pid>-<n>.tmp" in the same folder, flushed to disk and moved over the
// original with write-through, so the file is the old one or the new one whole. Keeps the
// original's attributes. On failure returns false with GetLastError saying why, the file as
// it was and no temporary file left.
bool ReplaceFileContent(const std::wstring& path, std::initializer_list<std::string_view> pieces);

} // namespace platform::win32
