#include "ui/tree_splitter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

namespace qbr::ui {

QSplitterHandle* TreeSplitter::createHandle() {
    // The splitter owns the handles it creates (a child of it, released with it).
    return std::make_unique<TreeSplitterHandle>(orientation(), this).release();
}

TreeSplitterHandle::TreeSplitterHandle(Qt::Orientation orientation, QSplitter* parent)
    : QSplitterHandle(orientation, parent) {}

void TreeSplitterHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedAt_ = event->position();
        dragging_ = true;
        cancelled_ = false;
        // The keyboard focus stays where it was: Escape is watched for the whole application.
        qApp->installEventFilter(this);
    }
    QSplitterHandle::mousePressEvent(event);
}

void TreeSplitterHandle::mouseMoveEvent(QMouseEvent* event) {
    if (cancelled_)
        return;
    QSplitterHandle::mouseMoveEvent(event);
}

void TreeSplitterHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        stopWatchingKeys();
        dragging_ = false;
        if (cancelled_) {
            cancelled_ = false;
            return;
        }
    }
    QSplitterHandle::mouseReleaseEvent(event);
}

bool TreeSplitterHandle::eventFilter(QObject* watched, QEvent* event) {
    if (dragging_ && !cancelled_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Ending the drag where it began leaves the width as it was and takes the bar away.
        QMouseEvent release(QEvent::MouseButtonRelease, pressedAt_, mapToGlobal(pressedAt_),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QSplitterHandle::mouseReleaseEvent(&release);
        cancelled_ = true;
        return true;
    }
    return QSplitterHandle::eventFilter(watched, event);
}

void TreeSplitterHandle::stopWatchingKeys() {
    qApp->removeEventFilter(this);
}

} // namespace qbr::ui
