#include "platform/win32/Win32Art.h"

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

} // namespace

HICON LoadGlyph(Glyph glyph) {
    // The build gives each glyph its mask: one load, no drawing at start-up.
    for (const auto& [known, name] : glyphResources)
        if (known == glyph)
            return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON,
                                                   glyphSize, glyphSize, 0));
    return nullptr;
}

HICON LoadProgramIcon(int sizeMetric) {
    const int size = ::GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace platform::win32
