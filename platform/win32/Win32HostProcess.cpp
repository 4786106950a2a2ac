#include "platform/HostProcess.h"

#include <windows.h>

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

void HoldStopRequests() {
    StopEvent();
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void WaitForStopRequest() {
    ::WaitForSingleObject(StopEvent(), INFINITE);
}

} // namespace platform
