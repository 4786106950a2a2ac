#pragma once

#include "platform/Window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace platform::win32 {

// The window as real Win32 controls, built from a form's description and controls: each at
// its described pixels, with its font and colours, following every change of its control at
// once. Clicks on buttons and labels, and Enter for the focused or default button, go to
// Form::Click; the window closes only when the form asks for it, which ends the message loop.
class Win32FormView : private FormObserver {
public:
    explicit Win32FormView(Form& form);
    ~Win32FormView() override;
    Win32FormView(const Win32FormView&) = delete;
    Win32FormView& operator=(const Win32FormView&) = delete;

    HWND Window() const { return m_window; }
    // The window of the named control; nullptr for a component or an unknown name.
    HWND ControlWindow(const std::string& controlName) const;

    // Shows the window and runs the message loop until the window is destroyed.
    void Run();

private:
    struct View {
        Control* control;
        HWND window;
        HFONT font;
        HICON glyph;
    };

    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControl(Control& control);
    HWND ParentOf(const ControlDescription& description) const;
    void SetTabOrder();
    const View* ViewOf(HWND window) const;
    bool HandleEnter(const MSG& message);
    LRESULT ControlColors(HDC dc, HWND control);
    void DrawButton(const DRAWITEMSTRUCT& item);

    void ControlChanged(const Control& control) override;
    void CloseRequested() override;

    Form& m_form;
    HWND m_window = nullptr;
    HFONT m_formFont = nullptr;
    HBRUSH m_yellowBrush = nullptr;
    std::vector<View> m_views;
    bool m_closeRequested = false;
};

} // namespace platform::win32
