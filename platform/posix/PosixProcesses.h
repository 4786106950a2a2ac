#pragma once

#include "platform/Processes.h"

namespace platform {

// Runs the named file of the current directory in a new session with its standard
// streams on /dev/null, detached so that it outlives the launcher; ".bat" files run
// through /bin/sh.
class PosixProcesses : public Processes {
public:
    void WinExec(const std::string& fileName) override;
};

} // namespace platform
