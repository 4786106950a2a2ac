#include "platform/RegularFile.h"

#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <algorithm>

namespace platform {

std::variant<std::vector<std::uint8_t>, FileError> ReadRegularFile(const std::string& path,
                                                                   std::size_t maxSize) {
    // Windows' own codes need no translation. A folder opens only with backup semantics, so
    // it fails here with 5, as a Windows program reading it meets.
    win32::Handle file(::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return FileError{static_cast<int>(::GetLastError())};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return FileError{ERROR_ACCESS_DENIED};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return FileError{static_cast<int>(::GetLastError())};
    if (static_cast<std::uint64_t>(size.QuadPart) > maxSize)
        return FileError{ERROR_NOT_ENOUGH_MEMORY};
    std::vector<std::uint8_t> content(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
        if (!::ReadFile(file.Get(), content.data() + done, chunk, &got, nullptr))
            return FileError{static_cast<int>(::GetLastError())};
        if (got == 0)
            break; // shrank while being read: what is there is the content
        done += got;
    }
    content.resize(done);
    return content;
}

} // namespace platform
