#include "distribution/windows/StandInFolders.h"

#include "platform/win32/ProgramPath.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <stdexcept>

namespace standin {
namespace {

// A text a W function writes into a buffer: it asks for the size when the first is short.
template <typename Call> std::wstring Fetch(const char* name, Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0)
            throw std::runtime_error(std::string(name) + ": " +
                                     platform::win32::ErrorText(::GetLastError()));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length + 1);
    }
}

std::wstring WithoutLastSeparator(std::wstring folder) {
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

} // namespace

std::wstring ProgramFilesFolder() {
    return WithoutLastSeparator(
        Fetch("GetEnvironmentVariableW ProgramFiles", [](wchar_t* buffer, DWORD size) {
            return ::GetEnvironmentVariableW(L"ProgramFiles", buffer, size);
        }));
}

std::wstring TemporaryFolder() {
    return WithoutLastSeparator(Fetch(
        "GetTempPathW", [](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); }));
}

std::wstring OwnFolder() {
    const std::wstring file = platform::win32::ProgramPath();
    if (file.empty())
        throw std::runtime_error("GetModuleFileNameW: " +
                                 platform::win32::ErrorText(::GetLastError()));
    return file.substr(0, file.find_last_of(L'\\'));
}

std::wstring InstanceFolder() {
    return ProgramFilesFolder() + L"\\Database Engine\\home";
}

} // namespace standin
