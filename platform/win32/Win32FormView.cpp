#include "platform/win32/Win32FormView.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Art.h"
#include "platform/win32/Win32Look.h"
#include "platform/win32/WindowText.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <map>

namespace platform::win32 {
namespace {

constexpr wchar_t windowClass[] = L"LauncherForm";
constexpr int firstControlId = 100;
constexpr int glyphSize = 16;
constexpr int glyphSpacing = 4;

// Captions keep Windows line breaks; a lone carriage return breaks a line too.
std::wstring DisplayText(const std::string& caption) {
    std::wstring text;
    const std::wstring wide = Widen(caption);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        text += wide[i];
        if (wide[i] == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n'))
            text += L'\n';
    }
    return text;
}

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle ClassFor(const ControlDescription& description) {
    const DWORD tabStop = description.tabOrder >= 0 ? WS_TABSTOP : 0;
    switch (description.kind) {
    case ControlKind::Label:
        // SS_LEFT wraps words; a label without word wrap keeps its lines whole.
        return {WC_STATICW,
                static_cast<DWORD>((description.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                                   SS_NOTIFY | SS_NOPREFIX),
                0};
    case ControlKind::GroupBox:
        return {WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::Edit:
        return {
            WC_EDITW,
            static_cast<DWORD>(ES_AUTOHSCROLL | tabStop | (description.readOnly ? ES_READONLY : 0)),
            WS_EX_CLIENTEDGE};
    case ControlKind::BitBtn:
        return {WC_BUTTONW, BS_OWNERDRAW | tabStop, 0};
    case ControlKind::Component:
        break;
    }
    return {nullptr, 0, 0};
}

// Messages a group box's children send to their parent belong to the window.
LRESULT CALLBACK ForwardToWindow(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR window) {
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return ::SendMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam);
    case WM_ERASEBKGND: {
        // A group box paints only its frame; as a parent it must fill the space it clips.
        RECT area;
        ::GetClientRect(box, &area);
        ::FillRect(reinterpret_cast<HDC>(wParam), &area, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    default:
        return ::DefSubclassProc(box, message, wParam, lParam);
    }
}

void RegisterWindowClass() {
    WNDCLASSEXW windowClassInfo{};
    windowClassInfo.cbSize = sizeof windowClassInfo;
    windowClassInfo.lpfnWndProc = ::DefWindowProcW;
    windowClassInfo.hInstance = ::GetModuleHandleW(nullptr);
    windowClassInfo.hIcon = LoadProgramIcon(SM_CXICON);
    windowClassInfo.hIconSm = LoadProgramIcon(SM_CXSMICON);
    windowClassInfo.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClassInfo.lpszClassName = windowClass;
    ::RegisterClassExW(&windowClassInfo);
}

} // namespace

Win32FormView::Win32FormView(Form& form) : m_form(form) {
    static const bool registered = (RegisterWindowClass(), true);
    (void)registered;
    const FormDescription& description = form.Description();
    // A fixed single border; only the minimise box, no system menu, no maximise box.
    const DWORD style =
        WS_CAPTION | WS_CLIPCHILDREN | (description.minimizeOnly ? WS_MINIMIZEBOX : WS_SYSMENU);
    RECT frame{0, 0, description.clientWidth, description.clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    m_window = ::CreateWindowExW(
        WS_EX_CONTROLPARENT, windowClass, Widen(description.caption).c_str(), style,
        description.left, description.top, frame.right - frame.left, frame.bottom - frame.top,
        nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));
    m_formFont = CreateDescribedFont(description.font);
    m_yellowBrush = ::CreateSolidBrush(ToColorRef(Color::Yellow));

    for (Control* control : form.Controls())
        if (control->Description().kind != ControlKind::Component)
            CreateControl(*control);
    SetTabOrder();
    form.SetObserver(this);
}

Win32FormView::~Win32FormView() {
    m_form.SetObserver(nullptr);
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
    for (const View& view : m_views) {
        ::DeleteObject(view.font);
        if (view.glyph != nullptr)
            ::DestroyIcon(view.glyph);
    }
    ::DeleteObject(m_formFont);
    ::DeleteObject(m_yellowBrush);
}

void Win32FormView::CreateControl(Control& control) {
    const ControlDescription& description = control.Description();
    const auto [className, style, exStyle] = ClassFor(description);
    const int id = firstControlId + static_cast<int>(m_views.size());
    // Born in the control's state: each later change would cost a round trip to the server
    // under Wine, for every control, before the window shows.
    const DWORD state =
        (control.Visible() ? WS_VISIBLE : 0) | (control.Enabled() ? 0 : WS_DISABLED);
    // Windows places a group box's children from the box's own top-left corner, title
    // included, which is how the description gives them.
    HWND window = ::CreateWindowExW(exStyle, className, DisplayText(control.Caption()).c_str(),
                                    WS_CHILD | style | state, description.left, description.top,
                                    description.width, description.height, ParentOf(description),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (description.kind == ControlKind::GroupBox) {
        ::SetWindowSubclass(window, &ForwardToWindow, 0, reinterpret_cast<DWORD_PTR>(m_window));
        // A themed group box ignores the title colour it is given.
        ::SetWindowTheme(window, L"", L"");
    }
    HFONT font = CreateDescribedFont(EffectiveFont(m_form, description));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    m_views.push_back({&control, window, font, LoadGlyph(description.glyph)});
}

HWND Win32FormView::ParentOf(const ControlDescription& description) const {
    for (const View& view : m_views)
        if (view.control->Name() == description.parent)
            return view.window;
    return m_window;
}

// Windows moves the focus through siblings in their z-order: put each parent's children in
// their tab order.
void Win32FormView::SetTabOrder() {
    std::vector<const View*> ordered;
    for (const View& view : m_views)
        if (view.control->Description().tabOrder >= 0)
            ordered.push_back(&view);
    std::stable_sort(ordered.begin(), ordered.end(), [](const View* a, const View* b) {
        return a->control->Description().tabOrder < b->control->Description().tabOrder;
    });
    std::map<std::string, HWND> lastOfParent;
    for (const View* view : ordered) {
        const std::string& parent = view->control->Description().parent;
        const auto last = lastOfParent.find(parent);
        ::SetWindowPos(view->window, last == lastOfParent.end() ? HWND_TOP : last->second, 0, 0, 0,
                       0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        lastOfParent[parent] = view->window;
    }
}

HWND Win32FormView::ControlWindow(const std::string& controlName) const {
    for (const View& view : m_views)
        if (view.control->Name() == controlName)
            return view.window;
    return nullptr;
}

const Win32FormView::View* Win32FormView::ViewOf(HWND window) const {
    for (const View& view : m_views)
        if (view.window == window)
            return &view;
    return nullptr;
}

void Win32FormView::Run() {
    ::ShowWindow(m_window, SW_SHOWNORMAL);
    ::UpdateWindow(m_window);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (HandleEnter(message) || ::IsDialogMessageW(m_window, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Enter clicks the focused button, and otherwise the default button while it is enabled.
bool Win32FormView::HandleEnter(const MSG& message) {
    const bool ours = message.hwnd == m_window || ::IsChild(m_window, message.hwnd);
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || !ours)
        return false;
    const View* focused = ViewOf(message.hwnd);
    if (focused != nullptr && focused->control->Description().kind == ControlKind::BitBtn) {
        m_form.Click(focused->control->Name());
        return true;
    }
    for (const View& view : m_views)
        if (view.control->Description().isDefault && view.control->Enabled())
            m_form.Click(view.control->Name());
    return true;
}

LRESULT CALLBACK Win32FormView::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    auto* view = reinterpret_cast<Win32FormView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

LRESULT Win32FormView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const View* view = ViewOf(reinterpret_cast<HWND>(lParam));
        const WORD code = HIWORD(wParam);
        if (view == nullptr)
            return 0;
        if (code == BN_CLICKED || code == STN_CLICKED)
            m_form.Click(view->control->Name());
        else if (code == EN_CHANGE)
            view->control->SetCaption(Narrow(WindowText(view->window)));
        return 0;
    }
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return ControlColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
        const View* view = ViewOf(reinterpret_cast<HWND>(wParam));
        if (view != nullptr && view->control->Description().cursor == Cursor::HandPoint) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:
        // No close box: only the form's own request closes the window.
        if (!m_closeRequested)
            return 0;
        break;
    case WM_DESTROY:
        m_window = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(m_window, message, wParam, lParam);
}

LRESULT Win32FormView::ControlColors(HDC dc, HWND control) {
    const View* view = ViewOf(control);
    if (view == nullptr)
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    const ControlDescription& description = view->control->Description();
    ::SetTextColor(dc, ToColorRef(EffectiveFont(m_form, description).color));
    if (description.kind == ControlKind::Edit && !description.readOnly) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    const Color background = description.background.value_or(Color::BtnFace);
    ::SetBkColor(dc, ToColorRef(background));
    return reinterpret_cast<LRESULT>(
        background == Color::Yellow ? m_yellowBrush : ::GetSysColorBrush(COLOR_BTNFACE));
}

// A bitmap button: the glyph and the caption side by side in the middle, both greyed when
// the button is disabled; a default button has the extra dark frame.
void Win32FormView::DrawButton(const DRAWITEMSTRUCT& item) {
    const View* view = ViewOf(item.hwndItem);
    if (view == nullptr)
        return;
    const ControlDescription& description = view->control->Description();
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT frame = item.rcItem;
    ::FillRect(item.hDC, &frame, ::GetSysColorBrush(COLOR_BTNFACE));
    if (description.isDefault) {
        ::FrameRect(item.hDC, &frame, ::GetSysColorBrush(COLOR_WINDOWFRAME));
        ::InflateRect(&frame, -1, -1);
    }
    ::DrawFrameControl(item.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const std::wstring text = WindowText(item.hwndItem);
    HGDIOBJ oldFont = ::SelectObject(item.hDC, view->font);
    SIZE textSize{};
    ::GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &textSize);
    const int glyphWidth = view->glyph != nullptr ? glyphSize + glyphSpacing : 0;
    const int offset = pressed ? 1 : 0;
    int x = (item.rcItem.left + item.rcItem.right - glyphWidth - textSize.cx) / 2 + offset;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + offset;
    const UINT state = disabled ? DSS_DISABLED : DSS_NORMAL;
    if (view->glyph != nullptr) {
        ::DrawStateW(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(view->glyph), 0, x,
                     middle - glyphSize / 2, glyphSize, glyphSize, DST_ICON | state);
        x += glyphWidth;
    }
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ToColorRef(EffectiveFont(m_form, description).color));
    ::DrawStateW(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()),
                 static_cast<WPARAM>(text.size()), x, middle - textSize.cy / 2, textSize.cx,
                 textSize.cy, DST_TEXT | state);
    ::SelectObject(item.hDC, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(item.hDC, &focus);
    }
}

void Win32FormView::ControlChanged(const Control& control) {
    const View* view = nullptr;
    for (const View& candidate : m_views)
        if (candidate.control == &control)
            view = &candidate;
    if (view == nullptr)
        return;
    const std::wstring text = DisplayText(control.Caption());
    // Typing already put the text there; setting it again would move the caret.
    if (WindowText(view->window) != text)
        ::SetWindowTextW(view->window, text.c_str());
    ::EnableWindow(view->window, control.Enabled());
    ::ShowWindow(view->window, control.Visible() ? SW_SHOWNA : SW_HIDE);
    ::InvalidateRect(view->window, nullptr, TRUE);
}

void Win32FormView::CloseRequested() {
    m_closeRequested = true;
    ::DestroyWindow(m_window);
}

} // namespace platform::win32
