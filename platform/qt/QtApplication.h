#pragma once

#include "platform/Application.h"

#include <QApplication>

#include <string>

namespace platform::qt {

// The application object over QApplication, which it owns: construct it first, before
// any widget. The executable name is given as the Windows path the launcher reports.
class QtApplication : public Application {
public:
    QtApplication(int& argc, char** argv, std::string exeName);

    void SetTitle(const std::string& title) override;
    const std::string& Title() const override { return m_title; }
    std::string ExeName() const override { return m_exeName; }

    // Builds the window's widgets, shows them and runs the event loop until the window
    // closes; 0.
    int Run(Form& mainForm) override;

private:
    QApplication m_application;
    std::string m_exeName;
    std::string m_title;
};

} // namespace platform::qt
