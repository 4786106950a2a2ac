#include "platform/win32/Win32MessageBoxes.h"

#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

class TitledApplication : public platform::Application {
public:
    void SetTitle(const std::string& title) override { m_title = title; }
    const std::string& Title() const override { return m_title; }
    std::string ExeName() const override { return {}; }
    int Run(platform::Form&) override { return 0; }

private:
    std::string m_title = "筠栎软件安装程序";
};

struct SeenBox {
    std::vector<std::string> texts;
    bool hasIcon = false;
};

// Waits for the box captioned with the title, notes what it shows and presses OK.
SeenBox AnswerBox(const std::string& title) {
    SeenBox seen;
    // Found once shown: the box exists before its controls are filled in.
    HWND box = nullptr;
    for (int i = 0; i < 500 && (box == nullptr || !::IsWindowVisible(box)); ++i) {
        box = ::FindWindowW(L"#32770", Widen(title).c_str());
        ::Sleep(10);
    }
    if (box == nullptr)
        return seen;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
            auto& seen = *reinterpret_cast<SeenBox*>(found);
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (::lstrcmpiW(name, L"Static") != 0 || !::IsWindowVisible(child))
                return TRUE;
            if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                seen.hasIcon = seen.hasIcon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
            wchar_t text[256] = {};
            const int length = ::GetWindowTextW(child, text, 256);
            if (length > 0)
                seen.texts.push_back(Narrow(std::wstring(text, static_cast<std::size_t>(length))));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

TEST(Win32MessageBoxes, ShowTheTextUnderTheTitleWithTheRightIcon) {
    TitledApplication application;
    platform::win32::Win32MessageBoxes boxes(application);
    const struct {
        const char* what;
        std::function<void()> show;
        bool icon;
    } cases[] = {
        {"message", [&] { boxes.ShowMessage("已完成客户端安装！"); }, false},
        {"error", [&] { boxes.ShowError("已完成客户端安装！"); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SeenBox seen;
        std::thread answer([&] { seen = AnswerBox(application.Title()); });
        c.show();
        answer.join();
        EXPECT_EQ(seen.texts, std::vector<std::string>{"已完成客户端安装！"});
        EXPECT_EQ(seen.hasIcon, c.icon);
    }
}

} // namespace
