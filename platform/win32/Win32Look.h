#pragma once

#include "platform/Window.h"

#include <windows.h>

namespace platform::win32 {

// The described colours as the system draws them: the two system colours follow the user's
// scheme, the others are fixed.
COLORREF ToColorRef(Color color);

// A font of the description: face name, character height in pixels, weight and underline,
// always with the Chinese character set, so that the Chinese texts find their glyphs on a
// Windows of any display language. The caller owns the font.
HFONT CreateDescribedFont(const Font& font);

} // namespace platform::win32
