#include "platform/qt/QtLook.h"

namespace platform::qt {

namespace {

// Naming the installed family directly: asking fontconfig for a fallback that covers CJK
// text costs a search on every start, and a Windows family name matches nothing here.
constexpr const char* cjkStandIns[] = {"MS Sans Serif", "宋体", "新宋体"};

struct NamedColor {
    Color color;
    QRgb rgb;
};

// The Windows system colours as a default desktop shows them.
constexpr NamedColor namedColors[] = {
    {Color::BtnFace, 0xF0F0F0}, {Color::WindowText, 0x000000}, {Color::Red, 0xFF0000},
    {Color::Navy, 0x000080},    {Color::Blue, 0x0000FF},       {Color::Fuchsia, 0xFF00FF},
    {Color::Yellow, 0xFFFF00},
};

} // namespace

QString HostFamily(const std::string& designFamily) {
    for (const char* standIn : cjkStandIns)
        if (designFamily == standIn)
            return QString::fromLatin1(CjkFamily);
    return QString::fromStdString(designFamily);
}

QFont ToQFont(const Font& font) {
    QFont result(HostFamily(font.name));
    result.setPixelSize(font.pixelSize);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    return result;
}

QColor ToQColor(Color color) {
    for (const auto& [named, rgb] : namedColors)
        if (named == color)
            return QColor(rgb);
    return QColor(Qt::black);
}

} // namespace platform::qt
