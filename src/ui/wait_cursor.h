#pragma once

#include <QApplication>
#include <QCursor>

namespace qbr::ui {

// The hourglass over every window of the program while it lives; the cursor comes back also
// when the work ends in an error.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace qbr::ui
