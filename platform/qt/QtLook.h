#pragma once

#include "platform/Window.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace platform::qt {

// The CJK font family installed on the host that stands in for the window's Windows fonts.
inline constexpr const char* CjkFamily = "WenQuanYi Micro Hei";

// The host family for a design family: the window's Windows fonts map to the CJK font,
// any other family stays as named.
QString HostFamily(const std::string& designFamily);

// The font at its design pixel size, bold and underline, in the host family.
QFont ToQFont(const Font& font);

// The colour a Windows named colour shows as.
QColor ToQColor(Color color);

} // namespace platform::qt
