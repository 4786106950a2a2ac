#pragma once

#include "platform/Processes.h"

namespace platform::win32 {

// Starts a program of the current directory hidden, without waiting for it; a ".bat" runs
// through the system's cmd.exe, named by its full path so that cmd never takes it for a
// built-in command ("start.bat" would otherwise be cmd's own start).
class Win32Processes : public Processes {
public:
    void WinExec(const std::string& fileName) override;
};

} // namespace platform::win32
