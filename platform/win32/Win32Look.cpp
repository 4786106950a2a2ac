#include "platform/win32/Win32Look.h"

#include "platform/win32/WideText.h"

namespace platform::win32 {
namespace {

struct NamedColor {
    Color color;
    COLORREF rgb;
};

constexpr NamedColor fixedColors[] = {
    {Color::Red, RGB(255, 0, 0)},      {Color::Navy, RGB(0, 0, 128)},
    {Color::Blue, RGB(0, 0, 255)},     {Color::Fuchsia, RGB(255, 0, 255)},
    {Color::Yellow, RGB(255, 255, 0)},
};

} // namespace

COLORREF ToColorRef(Color color) {
    if (color == Color::BtnFace)
        return ::GetSysColor(COLOR_BTNFACE);
    for (const auto& [named, rgb] : fixedColors)
        if (named == color)
            return rgb;
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

HFONT CreateDescribedFont(const Font& font) {
    return ::CreateFontW(-font.pixelSize, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                         font.underline, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         Widen(font.name).c_str());
}

} // namespace platform::win32
