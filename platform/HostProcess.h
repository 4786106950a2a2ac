#pragma once

namespace platform {

// The operating system this program runs on, as it names itself.
const char* HostSystemName();

unsigned long CurrentProcessId();

// Keeps requests to stop (SIGTERM and SIGINT on POSIX; Ctrl+C, Ctrl+Break and closing the
// console on Windows) for WaitForStopRequest instead of ending the process. Call it before
// any thread starts, so that no other thread takes them.
void HoldStopRequests();
// Returns once a stop has been requested.
void WaitForStopRequest();

} // namespace platform
