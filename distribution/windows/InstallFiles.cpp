#include "distribution/windows/InstallFiles.h"

#include "platform/win32/AtomicFile.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shlobj.h>
#include <stdexcept>
#include <vector>

namespace standin {

using platform::win32::ErrorText;
using platform::win32::Narrow;

void MakeFolder(const std::wstring& folder) {
    const int result = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + Narrow(folder) + ": " +
                                 ErrorText(static_cast<unsigned long>(result)));
}

void InstallFiles(std::initializer_list<FileToInstall> files) {
    std::vector<std::string> contents;
    for (const FileToInstall& file : files) {
        platform::win32::FileContent content = platform::win32::ReadWholeFile(file.source);
        if (content.state != platform::win32::FileState::Present)
            throw std::runtime_error("cannot read " + Narrow(file.source) + ": " +
                                     ErrorText(::GetLastError()));
        contents.push_back(std::move(content.bytes));
    }
    auto content = contents.begin();
    for (const FileToInstall& file : files) {
        MakeFolder(file.target.substr(0, file.target.find_last_of(L'\\')));
        if (!platform::win32::ReplaceFileContent(file.target, {*content++}))
            throw std::runtime_error("cannot write " + Narrow(file.target) + ": " +
                                     ErrorText(::GetLastError()));
    }
}

} // namespace standin
