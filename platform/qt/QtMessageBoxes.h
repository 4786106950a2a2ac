#pragma once

#include "platform/Application.h"
#include "platform/MessageBoxes.h"

namespace platform::qt {

// Modal boxes captioned with the application's title as it is when each box opens,
// centred on the screen, with one OK button.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(const Application& application) : m_application(application) {}

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;

private:
    const Application& m_application;
};

} // namespace platform::qt
