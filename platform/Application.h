#pragma once

#include "platform/Window.h"

#include <string>

namespace platform {

// The application object: title, executable name and the message loop.
class Application {
public:
    virtual ~Application() = default;

    // The text of the task bar button and the caption of every message and error box.
    virtual void SetTitle(const std::string& title) = 0;
    virtual const std::string& Title() const = 0;

    // The running program's full path, as a Windows path.
    virtual std::string ExeName() const = 0;

    // Shows the main window and runs the message loop until it closes; the exit code.
    virtual int Run(Form& mainForm) = 0;
};

} // namespace platform
