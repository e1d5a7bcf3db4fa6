#include "ui/window_font.h"

#include "ui/display_text.h"
#include "ui/ui_texts.h"

#include <QStringList>

namespace qbr::ui {

namespace {

QFont gothic(std::string_view face, const char* substitute, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(QStringList{displayText(face), QString::fromLatin1(substitute)});
    font.setStyleHint(hint);
    // A height of -12: the character height without internal leading, which is the em size.
    font.setPixelSize(12);
    return font;
}

} // namespace

QFont windowFont() {
    return gothic(text::kWindowFace, "IPAPGothic", QFont::SansSerif);
}

QFont memoFont() {
    QFont font = gothic(text::kMemoFace, "IPAGothic", QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace qbr::ui
