#include "ui/picture_box.h"

#include <QMouseEvent>

namespace qbr::ui {

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace qbr::ui
