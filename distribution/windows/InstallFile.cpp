#include "distribution/windows/InstallFile.h"

#include "platform/win32/AtomicFile.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shlobj.h>
#include <stdexcept>

namespace standin {

using platform::win32::ErrorText;
using platform::win32::Narrow;

void MakeFolder(const std::wstring& folder) {
    const int result = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + Narrow(folder) + ": " +
                                 ErrorText(static_cast<unsigned long>(result)));
}

void InstallFile(const std::wstring& source, const std::wstring& target) {
    const platform::win32::FileContent content = platform::win32::ReadWholeFile(source);
    if (content.state != platform::win32::FileState::Present)
        throw std::runtime_error("cannot read " + Narrow(source) + ": " +
                                 ErrorText(::GetLastError()));
    MakeFolder(target.substr(0, target.find_last_of(L'\\')));
    if (!platform::win32::ReplaceFileContent(target, {content.bytes}))
        throw std::runtime_error("cannot write " + Narrow(target) + ": " +
                                 ErrorText(::GetLastError()));
}

} // namespace standin
