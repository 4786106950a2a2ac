#pragma once

#include "platform/Window.h"

#include <windows.h>

namespace platform::win32 {

// A button glyph from the program's icon resources, whose transparent part is every pixel
// of the artwork's bottom-left colour; nullptr for no glyph. The caller owns it.
HICON LoadGlyph(Glyph glyph);

// The program's icon, the resource "MAINICON", at the system's size for the given metric
// (SM_CXICON, SM_CXSMICON).
HICON LoadProgramIcon(int sizeMetric);

} // namespace platform::win32
