#include "platform/win32/AtomicFile.h"

#include "platform/win32/Handle.h"

#include <algorithm>
#include <string>

namespace platform::win32 {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The next free temporary name beside the file; a crashed run may have left one behind.
HANDLE CreateTemporary(const std::wstring& path, std::wstring& name) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        name = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".tmp";
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

FileContent ReadWholeFile(const std::wstring& path) {
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? FileState::Missing : FileState::Unreadable, {}};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return {FileState::Unreadable, {}};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr))
            return {FileState::Unreadable, {}};
        if (got == 0)
            break; // shrank while being read: what is there is the content
        done += got;
    }
    bytes.resize(done);
    return {FileState::Present, std::move(bytes)};
}

bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ReplaceFileContent(const std::wstring& path, std::initializer_list<std::string_view> pieces) {
    std::wstring temporary;
    Handle file(CreateTemporary(path, temporary));
    if (!file.Valid())
        return false;
    bool written = true;
    for (std::string_view piece : pieces)
        written = written && WriteAll(file.Get(), piece);
    written = written && ::FlushFileBuffers(file.Get()) && file.Close();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (written && attributes != INVALID_FILE_ATTRIBUTES)
        written = ::SetFileAttributesW(temporary.c_str(), attributes);
    if (written && ::MoveFileExW(temporary.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = ::GetLastError();
    file.Close();
    ::DeleteFileW(temporary.c_str());
    ::SetLastError(error);
    return false;
}

} // namespace platform::win32
