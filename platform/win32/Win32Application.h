#pragma once

#include "platform/Application.h"

namespace platform::win32 {

// The application object: the title, the running program's own path and the message loop
// of the one main window.
class Win32Application : public Application {
public:
    Win32Application();

    void SetTitle(const std::string& title) override { m_title = title; }
    const std::string& Title() const override { return m_title; }
    std::string ExeName() const override;

    // Builds the window's controls, shows them and runs the message loop until the window
    // closes; 0.
    int Run(Form& mainForm) override;

private:
    std::string m_title;
};

} // namespace platform::win32
