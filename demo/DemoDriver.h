#pragma once

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <string>

namespace platform::qt {
class QtFormView;
}

// Walks the launcher's window through the whole setup as an operator would: the three
// server steps with their real waits, then both client buttons, then exit. Prints each
// step, saves a screenshot after every step and every box, and closes each box.
class DemoDriver : public QObject {
public:
    DemoDriver(std::filesystem::path screenshots, std::filesystem::path clientFolder);

    // Starts the walk once the event loop runs.
    void Start();

private:
    void Walk();
    void Click(const char* button, const std::string& what);
    void CloseOpenBox();
    void WaitForClientSetup();
    void Save(QWidget* widget, const std::string& name);

    std::filesystem::path m_screenshots;
    std::filesystem::path m_clientFolder;
    platform::qt::QtFormView* m_view = nullptr;
    QTimer m_boxWatch;
    int m_shots = 0;
};
