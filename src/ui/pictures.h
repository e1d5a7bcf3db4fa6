#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <array>

namespace qbr::ui {

// The program's pixel art, drawn at 96 dpi and enlarged by whole pixels for high-dpi screens.
struct Pictures {
    // ImageList1: 0 a closed folder, 1 an open folder (16 x 16, transparent outside).
    static std::array<QPixmap, 2> treePictures();
    // SpeedButton1..SpeedButton9 (index 0..8): the normal glyph and the engraved disabled one.
    static QIcon buttonGlyph(int button);
    // The 16 x 16 normal glyph alone.
    static QImage glyphImage(int button);
    // The disabled picture made from a normal one: its dark outline in grey with a white copy
    // one pixel to the lower right.
    static QImage engraved(const QImage& normal);
    // The 32 x 32 application icon.
    static QIcon applicationIcon();
    // Adds a picture to an icon at 1, 2 and 3 times its size, enlarged by whole pixels.
    static void addSharp(QIcon& icon, const QImage& image, QIcon::Mode mode);
};

} // namespace qbr::ui
