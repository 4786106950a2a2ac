#pragma once

#include "mainwindow/WindowDescription.h"
#include "platform/Window.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

// The launcher's real window description with no handlers: clicks are only recorded.
class RecordingForm : public platform::Form {
public:
    RecordingForm() {
        for (const auto& description : Form1Controls())
            m_controls.emplace_back(description);
    }

    const platform::FormDescription& Description() const override { return Form1Description(); }
    std::vector<platform::Control*> Controls() override {
        std::vector<platform::Control*> controls;
        for (auto& control : m_controls)
            controls.push_back(&control);
        return controls;
    }
    void Click(const std::string& controlName) override { clicks.push_back(controlName); }
    void SetObserver(platform::FormObserver* observer) override {
        m_observer = observer;
        for (auto& control : m_controls)
            control.SetObserver(observer);
    }

    platform::Control& Get(const std::string& name) {
        for (auto& control : m_controls)
            if (control.Name() == name)
                return control;
        throw std::out_of_range(name);
    }
    void RequestClose() { m_observer->CloseRequested(); }

    std::vector<std::string> clicks;

private:
    std::deque<platform::Control> m_controls; // stable addresses for the observers
    platform::FormObserver* m_observer = nullptr;
};
