#pragma once

#include <string>

namespace platform {

// Starts programs the way the launcher needs them: hidden, not waited on.
class Processes {
public:
    virtual ~Processes() = default;

    // Starts the program or script named by a bare file name, resolved in the current
    // directory, hidden and detached; returns at once. Raises an Exception naming the
    // program and the reason when it cannot be started at all.
    virtual void WinExec(const std::string& fileName) = 0;
};

} // namespace platform
