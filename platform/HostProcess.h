#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// The operating system this program runs on, as it names itself.
const char* HostSystemName();

unsigned long CurrentProcessId();

// The program's arguments after its name, as UTF-8: on Windows from the command line's
// UTF-16, which argv would give in the ANSI code page, losing what it cannot hold.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Keeps requests to stop (SIGTERM and SIGINT on POSIX; Ctrl+C, Ctrl+Break and closing the
// console on Windows) for WaitForStopRequest instead of ending the process. Call it before
// any thread starts, so that no other thread takes them. On Windows a program started
// detached has no console, so a stop is also asked for by setting the named event of the
// data folder (win32::StopEventName); a second program holding that folder's event is
// refused with std::runtime_error.
void HoldStopRequests(const std::filesystem::path& dataFolder);
// Returns once a stop has been requested.
void WaitForStopRequest();

} // namespace platform
