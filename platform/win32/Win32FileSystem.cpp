#include "platform/win32/Win32FileSystem.h"

#include "platform/Exception.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform::win32 {

void Win32FileSystem::ChDir(const std::string& directory) {
    if (!::SetCurrentDirectoryW(Widen(directory).c_str()))
        throw EInOutError(static_cast<int>(::GetLastError()));
}

CopyResult Win32FileSystem::CopyFileFailIfExists(const std::string& source,
                                                 const std::string& destination) {
    if (::CopyFileW(Widen(source).c_str(), Widen(destination).c_str(), TRUE))
        return {CopyOutcome::Copied, {}};
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        return {CopyOutcome::DestinationExists, {}};
    return {CopyOutcome::Failed, "CopyFileW: " + ErrorText(error)};
}

} // namespace platform::win32
