#pragma once

#include <QLabel>

namespace qbr::ui {

// A picture that takes clicks, also while it shows nothing.
class PictureBox final : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace qbr::ui
