#pragma once

#include <QPoint>
#include <QSplitter>
#include <QSplitterHandle>

namespace qbr::ui {

// The bar between the tree and the detail area: while it is dragged a bar shows the new place,
// the width is applied when the mouse button is released, and Escape during the drag cancels it.
class TreeSplitter final : public QSplitter {
    Q_OBJECT

  public:
    using QSplitter::QSplitter;

  protected:
    QSplitterHandle* createHandle() override;
};

class TreeSplitterHandle final : public QSplitterHandle {
    Q_OBJECT

  public:
    TreeSplitterHandle(Qt::Orientation orientation, QSplitter* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void stopWatchingKeys();

    QPointF pressedAt_;
    bool dragging_ = false;
    bool cancelled_ = false;
};

} // namespace qbr::ui
