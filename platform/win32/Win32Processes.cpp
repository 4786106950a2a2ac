#include "platform/win32/Win32Processes.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/win32/FullPath.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <cwctype>

namespace platform::win32 {
namespace {

bool EndsWithBat(std::wstring name) {
    if (name.size() < 4)
        return false;
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name.ends_with(L".bat");
}

std::wstring CommandInterpreter() {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system, length) + L"\\cmd.exe";
}

} // namespace

void Win32Processes::WinExec(const std::string& fileName) {
    const std::wstring program = FullPath(Widen(fileName));
    std::wstring application = program;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (EndsWithBat(program)) {
        application = CommandInterpreter();
        // The outer quotes are cmd's own: it strips them and keeps the quoted path whole.
        commandLine = L"cmd.exe /c \"" + commandLine + L"\"";
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &started))
        throw Exception(messages::CannotStart(fileName, ErrorText(::GetLastError())));
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
}

} // namespace platform::win32
