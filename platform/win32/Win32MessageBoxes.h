#pragma once

#include "platform/Application.h"
#include "platform/MessageBoxes.h"

namespace platform::win32 {

// MessageBoxW, captioned with the application's title and owned by the active window, so
// that the main window takes no input while a box is open.
class Win32MessageBoxes : public MessageBoxes {
public:
    explicit Win32MessageBoxes(const Application& application) : m_application(application) {}

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;

private:
    const Application& m_application;
};

} // namespace platform::win32
