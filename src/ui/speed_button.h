#pragma once

#include <QToolButton>

namespace qbr::ui {

// A flat tool button: its border shows only while the mouse is over it, it never takes the
// keyboard focus, and it draws its glyph left of its caption, 4 pixels apart, the pair centred.
class SpeedButton final : public QToolButton {
    Q_OBJECT

  public:
    explicit SpeedButton(QWidget* parent = nullptr);

    static constexpr int kGlyphSpacing = 4;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qbr::ui
