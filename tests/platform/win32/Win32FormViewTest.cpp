#include "platform/win32/Win32FormView.h"

#include "platform/win32/WideText.h"
#include "tests/support/RecordingForm.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using platform::ControlKind;
using platform::win32::Narrow;
using platform::win32::Win32FormView;

std::string TextOf(HWND window) {
    wchar_t text[1024] = {};
    return Narrow(
        std::wstring(text, static_cast<std::size_t>(::GetWindowTextW(window, text, 1024))));
}

// Captions keep their carriage returns; the control shows each as a line break.
std::string Shown(std::string caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        shown += caption[i];
        if (caption[i] == '\r' && (i + 1 == caption.size() || caption[i + 1] != '\n'))
            shown += '\n';
    }
    return shown;
}

class Win32FormViewTest : public ::testing::Test {
protected:
    RecordingForm m_form;
    Win32FormView m_view{m_form};
};

TEST_F(Win32FormViewTest, TheWindowHasItsTitleSizeAndPlace) {
    EXPECT_EQ(TextOf(m_view.Window()), "筠栎软件安装程序");
    RECT client{};
    ::GetClientRect(m_view.Window(), &client);
    EXPECT_EQ(client.right, 513);
    EXPECT_EQ(client.bottom, 600);
    RECT frame{};
    ::GetWindowRect(m_view.Window(), &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, -4);
    const LONG_PTR style = ::GetWindowLongPtrW(m_view.Window(), GWL_STYLE);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
}

TEST_F(Win32FormViewTest, EveryControlStandsAtItsPixelsWithItsTextAndState) {
    for (platform::Control* control : m_form.Controls()) {
        const platform::ControlDescription& description = control->Description();
        SCOPED_TRACE(description.name);
        HWND window = m_view.ControlWindow(description.name);
        if (description.kind == ControlKind::Component) {
            EXPECT_EQ(window, nullptr);
            continue;
        }
        ASSERT_NE(window, nullptr);
        RECT place{};
        ::GetWindowRect(window, &place);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, description.left);
        EXPECT_EQ(place.top, description.top);
        EXPECT_EQ(place.right - place.left, description.width);
        EXPECT_EQ(place.bottom - place.top, description.height);
        EXPECT_EQ(TextOf(window), Shown(description.text));
        EXPECT_EQ(::IsWindowEnabled(window) != FALSE, description.enabled);
        EXPECT_EQ((::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0, description.visible);
        if (!description.parent.empty()) {
            EXPECT_EQ(::GetParent(window), m_view.ControlWindow(description.parent));
        }
    }
}

TEST_F(Win32FormViewTest, FontsHaveTheirFaceSizeWeightAndChineseCharacterSet) {
    const struct {
        const char* control;
        const wchar_t* face;
        int height;
        bool bold;
        bool underline;
    } fonts[] = {
        {"Label5", L"MS Sans Serif", -13, true, false},  {"GroupBox1", L"宋体", -14, true, false},
        {"Label3", L"MS Sans Serif", -16, false, true},  {"Edit9", L"新宋体", -16, false, false},
        {"BitBtn2", L"宋体", -14, true, false}, // the group box's font
        {"BitBtn1", L"MS Sans Serif", -19, true, false},
    };
    for (const auto& expected : fonts) {
        SCOPED_TRACE(expected.control);
        const auto font = reinterpret_cast<HFONT>(
            ::SendMessageW(m_view.ControlWindow(expected.control), WM_GETFONT, 0, 0));
        LOGFONTW look{};
        ASSERT_EQ(::GetObjectW(font, sizeof look, &look), static_cast<int>(sizeof look));
        EXPECT_EQ(std::wstring(look.lfFaceName), expected.face);
        EXPECT_EQ(look.lfHeight, expected.height);
        EXPECT_EQ(look.lfWeight >= FW_BOLD, expected.bold);
        EXPECT_EQ(look.lfUnderline != 0, expected.underline);
        EXPECT_EQ(look.lfCharSet, GB2312_CHARSET);
    }
}

TEST_F(Win32FormViewTest, FollowsEveryChangeOfAControl) {
    m_form.Get("BitBtn3").SetEnabled(true);
    m_form.Get("Label1").SetCaption("192.168.1.5");
    EXPECT_TRUE(::IsWindowEnabled(m_view.ControlWindow("BitBtn3")));
    EXPECT_EQ(TextOf(m_view.ControlWindow("Label1")), "192.168.1.5");

    // Typing into an edit reaches its control.
    ::SetWindowTextW(m_view.ControlWindow("Edit9"), L"D:\\备份.bak");
    EXPECT_EQ(m_form.Get("Edit9").Caption(), "D:\\备份.bak");
}

TEST_F(Win32FormViewTest, ClicksAndEnterGoToTheForm) {
    ::SendMessageW(m_view.ControlWindow("BitBtn2"), BM_CLICK, 0, 0);
    HWND link = m_view.ControlWindow("Label3");
    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));

    // Enter with no button focused is the default button's, unless it is disabled; on a
    // focused button, that one's.
    ::PostMessageW(m_view.Window(), WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(m_view.ControlWindow("BitBtn5"), WM_KEYDOWN, VK_RETURN, 0);
    ::PostQuitMessage(0);
    m_view.Run();
    m_form.Get("BitBtn1").SetEnabled(false);
    ::PostMessageW(m_view.Window(), WM_KEYDOWN, VK_RETURN, 0);
    ::PostQuitMessage(0);
    m_view.Run();
    EXPECT_EQ(m_form.clicks, (std::vector<std::string>{"BitBtn2", "Label3", "BitBtn1", "BitBtn5"}));
}

TEST_F(Win32FormViewTest, OnlyTheFormClosesTheWindow) {
    ::SendMessageW(m_view.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(m_view.Window()));
    HWND window = m_view.Window();
    m_form.RequestClose();
    EXPECT_FALSE(::IsWindow(window));
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
