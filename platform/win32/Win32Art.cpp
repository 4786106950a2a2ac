#include "platform/win32/Win32Art.h"

#include <commctrl.h>

namespace platform::win32 {
namespace {

struct GlyphResource {
    Glyph glyph;
    const wchar_t* name;
};

constexpr GlyphResource glyphResources[] = {
    {Glyph::PurpleBook, L"GLYPH_BOOK"},
    {Glyph::ComputerWithCable, L"GLYPH_COMPUTER"},
    {Glyph::FloppyDisk, L"GLYPH_FLOPPY"},
    {Glyph::PowerSymbol, L"GLYPH_POWER"},
};

constexpr int glyphSize = 16;

COLORREF BottomLeftColor(HBITMAP bitmap) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const COLORREF color = ::GetPixel(memory, 0, glyphSize - 1);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return color;
}

} // namespace

HICON LoadGlyph(Glyph glyph) {
    for (const auto& [known, name] : glyphResources) {
        if (known != glyph)
            continue;
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(
            ::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (bitmap == nullptr)
            return nullptr;
        HIMAGELIST list = ::ImageList_Create(glyphSize, glyphSize, ILC_COLOR24 | ILC_MASK, 1, 0);
        ::ImageList_AddMasked(list, bitmap, BottomLeftColor(bitmap));
        HICON icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
        ::ImageList_Destroy(list);
        ::DeleteObject(bitmap);
        return icon;
    }
    return nullptr;
}

HICON LoadProgramIcon(int sizeMetric) {
    const int size = ::GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace platform::win32
