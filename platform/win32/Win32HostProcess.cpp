#include "platform/HostProcess.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {
namespace {

HANDLE StopEvent() {
    // Manual reset: once requested, a stop stays requested.
    static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

BOOL WINAPI OnConsoleEvent(DWORD) {
    ::SetEvent(StopEvent());
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

void HoldStopRequests() {
    StopEvent();
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void WaitForStopRequest() {
    ::WaitForSingleObject(StopEvent(), INFINITE);
}

} // namespace platform
