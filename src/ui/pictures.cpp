#include "ui/pictures.h"

#include "ui/pictures/app_icon.xpm"
#include "ui/pictures/folder_closed.xpm"
#include "ui/pictures/folder_open.xpm"
#include "ui/pictures/glyph_archive.xpm"
#include "ui/pictures/glyph_browse.xpm"
#include "ui/pictures/glyph_delete.xpm"
#include "ui/pictures/glyph_door.xpm"
#include "ui/pictures/glyph_expand.xpm"
#include "ui/pictures/glyph_import.xpm"
#include "ui/pictures/glyph_reimport.xpm"
#include "ui/pictures/glyph_run.xpm"
#include "ui/pictures/glyph_search.xpm"

#include <QColor>

namespace qbr::ui {

namespace {

QImage fromXpm(const char* const* xpm) {
    return QImage(xpm).convertToFormat(QImage::Format_ARGB32);
}

const char* const* glyphXpm(int button) {
    static const char* const* const glyphs[9] = {
        glyph_door_xpm,   glyph_import_xpm,  glyph_reimport_xpm, glyph_expand_xpm, glyph_run_xpm,
        glyph_browse_xpm, glyph_archive_xpm, glyph_search_xpm,   glyph_delete_xpm,
    };
    return glyphs[button];
}

} // namespace

std::array<QPixmap, 2> Pictures::treePictures() {
    return {QPixmap::fromImage(fromXpm(folder_closed_xpm)),
            QPixmap::fromImage(fromXpm(folder_open_xpm))};
}

QImage Pictures::glyphImage(int button) {
    return fromXpm(glyphXpm(button));
}

QImage Pictures::engraved(const QImage& normal) {
    QImage result(normal.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    const auto dark = [&normal](int x, int y) {
        const QColor colour = normal.pixelColor(x, y);
        // Light surfaces (white, yellow, silver, cyan) vanish; lines and dark fills remain.
        return colour.alpha() != 0 && qGray(colour.rgb()) < 150;
    };
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if (dark(x, y) && x + 1 < normal.width() && y + 1 < normal.height())
                result.setPixelColor(x + 1, y + 1, Qt::white);
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if (dark(x, y))
                result.setPixelColor(x, y, QColor(0x80, 0x80, 0x80));
    return result;
}

// Nearest-neighbour enlargements keep the pixel art sharp where the screen has more dots.
void Pictures::addSharp(QIcon& icon, const QImage& image, QIcon::Mode mode) {
    for (int factor : {1, 2, 3}) {
        QPixmap pixmap = QPixmap::fromImage(
            image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        pixmap.setDevicePixelRatio(factor);
        icon.addPixmap(pixmap, mode);
    }
}

QIcon Pictures::buttonGlyph(int button) {
    const QImage normal = glyphImage(button);
    QIcon icon;
    addSharp(icon, normal, QIcon::Normal);
    addSharp(icon, engraved(normal), QIcon::Disabled);
    return icon;
}

QIcon Pictures::applicationIcon() {
    QIcon icon;
    addSharp(icon, fromXpm(app_icon_xpm), QIcon::Normal);
    return icon;
}

} // namespace qbr::ui
