#pragma once

#include "platform/win32/Handle.h"

#include <string>

namespace standin {

enum class StartOutcome { Started, AlreadyRunning };
enum class StopOutcome { Stopped, NotRunning };

// Starts and stops the engine installed in an instance folder ("bin\tdsengine.exe", its
// data in "data", its output in "engine.log", "engine.port" and "engine.pid" while it runs).
// Holds the instance's control lock from construction to destruction, so that two starts
// cannot race for the ports and nothing installs over an engine being started. Failures
// throw std::runtime_error saying what failed and where.
class EngineControl {
public:
    explicit EngineControl(std::wstring instanceFolder);
    EngineControl(const EngineControl&) = delete;
    EngineControl& operator=(const EngineControl&) = delete;

    // Whether an engine serves this instance's data folder now.
    bool Running() const;
    // Starts the engine hidden and detached, and returns once it listens and its browser
    // answers (its port file is written), or fails after a minute.
    StartOutcome Start() const;
    // Asks the engine to stop and waits until it has ended, its port and pid files removed.
    StopOutcome Stop() const;

private:
    std::wstring File(const wchar_t* name) const;

    std::wstring m_folder;
    platform::win32::Handle m_lock;
};

} // namespace standin
