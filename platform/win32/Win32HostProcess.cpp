#include "platform/HostProcess.h"

#include "platform/Utf8Path.h"
#include "platform/win32/StopEvent.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>
#include <stdexcept>

namespace platform {
namespace {

HANDLE stopEvent = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD) {
    ::SetEvent(stopEvent);
    // Closing the console or ending the session ends the process once this returns, so it
    // waits here for the cleanup, which the system allows a few seconds.
    ::Sleep(INFINITE);
    return TRUE;
}

} // namespace

const char* HostSystemName() {
    return "Windows";
}

unsigned long CurrentProcessId() {
    return ::GetCurrentProcessId();
}

std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; arguments != nullptr && i < count; ++i)
        utf8.push_back(win32::Narrow(arguments[i]));
    ::LocalFree(arguments);
    return utf8;
}

void HoldStopRequests(const std::filesystem::path& dataFolder) {
    // Manual reset: once requested, a stop stays requested.
    const HANDLE event =
        ::CreateEventW(nullptr, TRUE, FALSE, win32::StopEventName(dataFolder.wstring()).c_str());
    if (event == nullptr)
        throw std::runtime_error("CreateEventW: " + win32::ErrorText(::GetLastError()));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(event);
        throw std::runtime_error("another engine serves " + Utf8String(dataFolder));
    }
    stopEvent = event;
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void WaitForStopRequest() {
    ::WaitForSingleObject(stopEvent, INFINITE);
}

} // namespace platform
