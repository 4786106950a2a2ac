// Reads what X tools cannot: the texts and states of another program's windows, for the
// walk through the launcher under Wine. Run under the launcher's wineserver; prints UTF-8.
//
//   window-reader TITLE buttons       text, on|off, screen x and y of each push button
//   window-reader TITLE boxes         handle, icon|plain, OK's screen x and y, caption
//                                        and text of each message box of its program
//   window-reader TITLE settle SECS   waits until the main window's thread takes messages
//   window-reader TITLE exists HWND   exit 0 while that window exists
//
// The main window is the one captioned TITLE that is no dialog. Exit 0 on success, 1 when
// it is not there or does not settle, 2 on usage.
#include "platform/win32/WideText.h"
#include "platform/win32/WindowText.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using platform::win32::Narrow;
using platform::win32::WindowText;

constexpr const wchar_t* dialogClass = L"#32770";

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// Line breaks inside a text would split its line of output.
std::string OneLine(const std::wstring& text) {
    std::string line;
    for (const char c : Narrow(text)) {
        if (c == '\r')
            line += "\\r";
        else if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}

void Print(const std::string& line) {
    const std::string out = line + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()),
                &written, nullptr);
}

std::string Centre(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return std::to_string((rect.left + rect.right) / 2) + "\t" +
           std::to_string((rect.top + rect.bottom) / 2);
}

struct TopLevel {
    std::wstring title;
    std::vector<HWND> mains;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<TopLevel*>(data);
    if (!::IsWindowVisible(window))
        return TRUE;
    if (ClassOf(window) == dialogClass)
        found->dialogs.push_back(window);
    else if (WindowText(window) == found->title)
        found->mains.push_back(window);
    return TRUE;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsPushButton(HWND window) {
    if (ClassOf(window) != L"Button")
        return false;
    const auto type = ::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type != BS_GROUPBOX && type != BS_CHECKBOX && type != BS_AUTOCHECKBOX &&
           type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON;
}

void PrintButtons(HWND main) {
    for (HWND child : Children(main))
        if (IsPushButton(child))
            Print(OneLine(WindowText(child)) + "\t" + (::IsWindowEnabled(child) ? "on" : "off") +
                  "\t" + Centre(child));
}

// A box without an icon keeps an empty icon control.
bool HasIcon(HWND control) {
    DWORD_PTR icon = 0;
    return ::SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &icon) && icon != 0;
}

// A box's text is its static control with text; the error box also shows an icon.
void PrintBox(HWND box) {
    std::wstring text;
    bool icon = false;
    for (HWND child : Children(box)) {
        if (ClassOf(child) != L"Static" || !::IsWindowVisible(child))
            continue;
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = icon || HasIcon(child);
        else if (text.empty())
            text = WindowText(child);
    }
    HWND ok = ::GetDlgItem(box, IDOK);
    Print(std::to_string(reinterpret_cast<std::uintptr_t>(box)) + "\t" + (icon ? "icon" : "plain") +
          "\t" + (ok ? Centre(ok) : "-\t-") + "\t" + OneLine(WindowText(box)) + "\t" +
          OneLine(text));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    TopLevel found{argv[1], {}, {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
    const std::wstring command = argv[2];
    if (command == L"exists" && argc == 4) {
        const auto handle = static_cast<std::uintptr_t>(std::wcstoull(argv[3], nullptr, 10));
        return ::IsWindow(reinterpret_cast<HWND>(handle)) ? 0 : 1;
    }
    if (found.mains.empty())
        return 1;
    if (command == L"boxes") {
        // Whatever their caption, so that a box with a wrong one shows as such.
        for (HWND box : found.dialogs)
            if (ProcessOf(box) == ProcessOf(found.mains.front()))
                PrintBox(box);
        return 0;
    }
    if (command == L"buttons") {
        PrintButtons(found.mains.front());
        return 0;
    }
    if (command == L"settle" && argc == 4) {
        // Answered once the thread pumps messages: its handler has ended or shows a box.
        const auto seconds = std::wcstoul(argv[3], nullptr, 10);
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(found.mains.front(), WM_NULL, 0, 0, SMTO_NORMAL,
                                     seconds * 1000, &result)
                   ? 0
                   : 1;
    }
    return 2;
}
