#include "platform/qt/QtArt.h"

#include <QImage>
#include <QPixmap>

namespace platform::qt {

namespace {

struct GlyphFile {
    Glyph glyph;
    const char* path;
};

constexpr GlyphFile glyphFiles[] = {
    {Glyph::PurpleBook, ":/art/glyph_book.png"},
    {Glyph::ComputerWithCable, ":/art/glyph_computer.png"},
    {Glyph::FloppyDisk, ":/art/glyph_floppy.png"},
    {Glyph::PowerSymbol, ":/art/glyph_power.png"},
};

// Bitmap buttons treat every pixel of the bottom-left pixel's colour as background.
QImage WithTransparentKey(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == key)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return image;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 128})
        icon.addFile(QStringLiteral(":/art/icon_%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon GlyphIcon(Glyph glyph) {
    for (const auto& [known, path] : glyphFiles)
        if (known == glyph)
            return QIcon(QPixmap::fromImage(WithTransparentKey(QImage(QString::fromLatin1(path)))));
    return QIcon();
}

} // namespace platform::qt
