#pragma once

#include "platform/Window.h"

#include <QIcon>

namespace platform::qt {

// The program icon, at 16, 24, 32, 48 and 128 pixels.
QIcon ProgramIcon();

// A button's 16x16 glyph, with the colour of its bottom-left pixel drawn transparent;
// a null icon for Glyph::None.
QIcon GlyphIcon(Glyph glyph);

} // namespace platform::qt
