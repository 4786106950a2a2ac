#pragma once

#include <string>

namespace platform {

// Modal boxes captioned with the application title; each returns when it is closed.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Centred on the screen, no icon, one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The default error report: error icon, the text as given.
    virtual void ShowError(const std::string& text) = 0;
};

} // namespace platform
